#include "DataExchange.h"

#include "Latin1.h"

#include <QLabel>
#include <QLineEdit>

namespace vostrel {
namespace {

QString ControlText(const QWidget* control)
{
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    return {};
}

// Texts are compared in place: a tick changes little but the display, and
// this spares converting every text both ways each second.
bool SameText(const QString& text, std::string_view field)
{
    return text == QLatin1StringView(field.data(), static_cast<qsizetype>(field.size()));
}

void SetControlText(QWidget* control, std::string_view field)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (!SameText(edit->text(), field))
            edit->setText(FromLatin1(field));
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        if (!SameText(label->text(), field))
            label->setText(FromLatin1(field));
    }
}

void StoreText(const QString& text, std::string& field)
{
    if (!SameText(text, field))
        field = ToLatin1(text);
}

} // namespace

void DataExchange::Text(int id, std::string& field)
{
    if (m_failed)
        return;
    QWidget* control = m_dialog.GetDlgItem(id);
    if (m_saveAndValidate)
        StoreText(ControlText(control), field);
    else
        SetControlText(control, field);
}

void DataExchange::LimitedText(int id, std::string& field, int maxChars)
{
    if (m_failed)
        return;
    auto* edit = m_dialog.Item<QLineEdit>(id);
    if (!m_saveAndValidate) {
        SetControlText(edit, field);
        // Setting the limit resets the text, which drops the user's cursor,
        // selection and undo history: only a new limit is set.
        if (edit->maxLength() != maxChars)
            edit->setMaxLength(maxChars);
        return;
    }
    const QString text = ControlText(edit);
    if (text.size() > maxChars) {
        m_failed = true;
        m_dialog.RefuseInput(id, QStringLiteral("Enter no more than %1 characters.").arg(maxChars));
        return;
    }
    StoreText(text, field);
}

void DataExchange::RadioIndex(int firstId, std::int32_t& field)
{
    if (m_failed)
        return;
    if (m_saveAndValidate)
        field = m_dialog.CheckedRadioIndex(firstId);
    else
        m_dialog.CheckRadioIndex(firstId, field);
}

} // namespace vostrel
