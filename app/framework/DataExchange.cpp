#include "app/framework/DataExchange.h"

#include "app/framework/TypingLimit.h"
#include "resources/Latin1.h"

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
        auto* limit = dynamic_cast<TypingLimit*>(const_cast<QValidator*>(edit->validator()));
        if (!limit || limit->Limit() != maxChars) {
            limit = new TypingLimit(maxChars, edit);
            edit->setValidator(limit);
        }
        // A longer stored text is shown whole, so that the box agrees with
        // what the program counts with; the limit holds for typing.
        limit->AllowText(static_cast<qsizetype>(field.size()));
        SetControlText(edit, field);
        return;
    }
    // Only the program can have put a longer text there: that one stands.
    const QString text = ControlText(edit);
    if (text.size() > maxChars && !SameText(text, field)) {
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
