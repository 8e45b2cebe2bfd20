#include "app/framework/TemplateDialog.h"

#include "resources/Latin1.h"

#include "app/framework/Centring.h"
#include "app/framework/DataExchange.h"
#include "app/framework/IconPicture.h"
#include "app/framework/Messages.h"
#include "resources/Icons.h"
#include "resources/ResourceIds.h"

#include <QButtonGroup>
#include <QEventLoop>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimerEvent>

#include <limits>

namespace vostrel {
namespace {

using namespace res::style;

const res::DialogTemplate& TemplateOrDie(int id)
{
    const res::DialogTemplate* found = res::FindDialogTemplate(id);
    Q_ASSERT(found);
    return *found;
}

// The width a control needs to show its whole text; 0 for controls whose
// text may scroll or that have none.
int TextWidth(const QWidget* widget)
{
    if (const auto* radio = qobject_cast<const QRadioButton*>(widget))
        return radio->sizeHint().width();
    if (const auto* push = qobject_cast<const QPushButton*>(widget))
        return push->fontMetrics().horizontalAdvance(push->text()) +
               push->fontMetrics().averageCharWidth() * 2;
    if (const auto* label = qobject_cast<const QLabel*>(widget); label && label->pixmap().isNull())
        return label->fontMetrics().horizontalAdvance(label->text());
    return 0;
}

// Controls without a tab stop still take the focus when clicked.
Qt::FocusPolicy FocusPolicyOf(const res::ControlTemplate& control)
{
    return (control.style & tabStop) ? Qt::StrongFocus : Qt::ClickFocus;
}

} // namespace

TemplateDialog::TemplateDialog(int templateId, Messages& messages, QWidget* parent)
    : QDialog(parent), m_template(TemplateOrDie(templateId)), m_messages(messages),
      m_units(DialogUnits::DialogFont(m_template))
{
    setFont(m_units.Font());
    setWindowTitle(FromLatin1(m_template.title));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    for (const res::ControlTemplate& control : m_template.controls) {
        QWidget* widget = CreateControl(control);
        m_templateControls.push_back(widget);
        m_units.WidenToFit(TextWidth(widget), control.rect.width);
        if (control.id != res::IDC_STATIC)
            m_controls.insert(control.id, widget);
    }
    for (std::size_t i = 0; i < m_templateControls.size(); ++i)
        m_templateControls[i]->setGeometry(ControlRect(m_template.controls[i]));
    NameEditBoxesAfterTheirLabels();
    const QRect frame = m_units.ToPixels(m_template.frame);
    setFixedSize(frame.size());
    // An origin of (0, 0) is left for the start to centre.
    if (!frame.topLeft().isNull())
        move(frame.topLeft());

    // Radio buttons exclude each other within a group: the run of controls
    // from one that starts a group up to the next one that starts a group.
    QButtonGroup* radios = nullptr;
    for (const res::ControlTemplate& control : m_template.controls) {
        if (control.style & group)
            radios = nullptr;
        if (control.controlClass == res::ControlClass::button &&
            (control.style & buttonKindMask) == autoRadioButton && control.id != res::IDC_STATIC) {
            if (!radios)
                radios = new QButtonGroup(this);
            QAbstractButton* radio = Item<QAbstractButton>(control.id);
            radios->addButton(radio);
            radio->installEventFilter(this);
        }
    }
}

// Screen readers announce an edit box by the text that labels it: the
// nearest text just left of it on its row, or just above it.
void TemplateDialog::NameEditBoxesAfterTheirLabels()
{
    const std::span<const res::ControlTemplate> controls = m_template.controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].controlClass != res::ControlClass::edit)
            continue;
        const res::DialogRect& box = controls[i].rect;
        const res::ControlTemplate* label = nullptr;
        int nearest = std::numeric_limits<int>::max();
        for (const res::ControlTemplate& text : controls) {
            if (text.controlClass != res::ControlClass::staticControl || text.text.empty() ||
                (text.style & staticKindMask) == iconPicture)
                continue;
            const res::DialogRect& r = text.rect;
            const bool onItsRow =
                r.y < box.y + box.height && box.y < r.y + r.height && r.x + r.width <= box.x;
            const bool aboveIt = r.y + r.height <= box.y && r.x < box.x + box.width && box.x < r.x + r.width;
            const int distance = onItsRow  ? box.x - (r.x + r.width)
                                 : aboveIt ? box.y - (r.y + r.height)
                                           : std::numeric_limits<int>::max();
            if (distance < nearest) {
                nearest = distance;
                label = &text;
            }
        }
        if (label)
            m_templateControls[i]->setAccessibleName(FromLatin1(label->text).remove(u'&'));
    }
}

QRect TemplateDialog::ControlRect(const res::ControlTemplate& control) const
{
    const QRect rect = m_units.ToPixels(control.rect);
    // An icon picture that does not centre its icon takes the icon's size.
    const bool iconSized = control.controlClass == res::ControlClass::staticControl &&
                           (control.style & staticKindMask) == iconPicture && !(control.style & centreImage);
    return iconSized ? QRect(rect.topLeft(), QSize(IconPicture::kIconSize, IconPicture::kIconSize)) : rect;
}

QWidget* TemplateDialog::CreateControl(const res::ControlTemplate& control)
{
    const QString text = FromLatin1(control.text);
    const int id = control.id;
    switch (control.controlClass) {
    case res::ControlClass::button: {
        const std::uint32_t kind = control.style & buttonKindMask;
        if (kind == groupBox) {
            auto* box = new QGroupBox(text, this);
            box->lower(); // a frame behind the controls it surrounds
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            return box;
        }
        QAbstractButton* button = nullptr;
        if (kind == autoRadioButton) {
            button = new QRadioButton(text, this);
        } else {
            auto* push = new QPushButton(text, this);
            push->setAutoDefault(false);
            push->setDefault(kind == defaultPushButton);
            button = push;
        }
        button->setFocusPolicy(FocusPolicyOf(control));
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnNotify(id, Notification::clicked); });
        return button;
    }
    case res::ControlClass::edit: {
        auto* edit = new QLineEdit(text, this);
        edit->setFrame(control.style & border);
        edit->setFocusPolicy(FocusPolicyOf(control));
        edit->installEventFilter(this);
        m_editIds.insert(edit, id);
        return edit;
    }
    case res::ControlClass::staticControl:
        break;
    }
    if ((control.style & staticKindMask) == iconPicture) {
        auto* picture = new IconPicture(res::LoadIcon(control.iconId), control.style & notify, this);
        connect(picture, &IconPicture::clicked, this, [this, id] { OnNotify(id, Notification::clicked); });
        return picture;
    }
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | ((control.style & centreImage) ? Qt::AlignVCenter : Qt::AlignTop));
    return label;
}

void TemplateDialog::StartVisibility()
{
    // A template without an origin is centred over its owner when the owner
    // is on screen, else over the screen's work area.
    if (m_template.frame.x == 0 && m_template.frame.y == 0)
        CentreOverOwner(*this);
    show();
}

void TemplateDialog::Start()
{
    OnInitDialog();
    StartVisibility();
}

int TemplateDialog::DoModal()
{
    // A dialog with an owner keeps its owner from taking input while it runs;
    // the main window's run blocks nothing, so the tray icon stays usable.
    if (parentWidget())
        setWindowModality(Qt::WindowModal);
    Start();
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::exit);
    return loop.exec();
}

bool TemplateDialog::UpdateData(bool saveAndValidate)
{
    if (!isVisible()) {
        if (!saveAndValidate) {
            m_controlsBehind = true;
            return true;
        }
        // Anything typed before the dialog was hidden was read in before
        // the first copy out that left the controls behind.
        if (m_controlsBehind)
            return true;
    }
    return ExchangeWithControls(saveAndValidate);
}

bool TemplateDialog::ExchangeWithControls(bool saveAndValidate)
{
    DataExchange exchange(*this, saveAndValidate);
    DoDataExchange(exchange);
    return !exchange.Failed();
}

void TemplateDialog::BringControlsUpToDate() const
{
    if (!m_controlsBehind)
        return;
    m_controlsBehind = false;
    // Only the controls change: they are how the fields are shown.
    const_cast<TemplateDialog*>(this)->ExchangeWithControls(false);
}

void TemplateDialog::showEvent(QShowEvent* event)
{
    // Sent before the window is mapped, so it never shows stale controls.
    BringControlsUpToDate();
    QDialog::showEvent(event);
}

const QList<QWidget*>& TemplateDialog::RadioGroup(int firstId) const
{
    // Every tick of a shown window exchanges the unit buttons: each group
    // is found once.
    const auto [entry, isNew] = m_radioGroups.try_emplace(firstId);
    QList<QWidget*>& buttons = entry->second;
    if (!isNew)
        return buttons;
    bool inGroup = false;
    for (const res::ControlTemplate& control : m_template.controls) {
        if (inGroup && (control.style & group))
            break;
        inGroup = inGroup || control.id == firstId;
        if (inGroup && control.controlClass == res::ControlClass::button &&
            (control.style & buttonKindMask) == autoRadioButton)
            buttons.append(GetDlgItem(control.id));
    }
    return buttons;
}

int TemplateDialog::CheckedRadioIndex(int firstId) const
{
    BringControlsUpToDate();
    const QList<QWidget*>& buttons = RadioGroup(firstId);
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        if (static_cast<QAbstractButton*>(buttons[i])->isChecked())
            return static_cast<int>(i);
    }
    return -1;
}

void TemplateDialog::CheckRadioIndex(int firstId, int index)
{
    BringControlsUpToDate();
    const QList<QWidget*>& buttons = RadioGroup(firstId);
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        auto* button = static_cast<QAbstractButton*>(buttons[i]);
        if (button->isChecked() == (i == index))
            continue;
        // An exclusive group refuses to clear its checked button directly.
        QButtonGroup* owner = button->group();
        if (owner)
            owner->setExclusive(false);
        button->setChecked(i == index);
        if (owner)
            owner->setExclusive(true);
    }
}

void TemplateDialog::RefuseInput(int controlId, const QString& message)
{
    // Timer ticks go on while the message is open; one message at a time.
    if (m_refusing)
        return;
    m_refusing = true;
    m_messages.Show(this, message);
    m_refusing = false;
    if (QWidget* control = GetDlgItem(controlId))
        control->setFocus(Qt::OtherFocusReason);
}

void TemplateDialog::timerEvent(QTimerEvent* event)
{
    if (const std::optional<int> id = m_timers.IdOf(event))
        OnTimer(*id);
    else
        QDialog::timerEvent(event);
}

// The arrow keys walk a radio group in template order, wrapping at its
// ends, and check each button they reach, as a click would. (Qt's own walk
// goes by where the buttons sit on screen.)
bool TemplateDialog::StepRadioGroup(QAbstractButton* from, int key)
{
    const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1
                     : key == Qt::Key_Up || key == Qt::Key_Left  ? -1
                                                                 : 0;
    QButtonGroup* radios = from->group();
    if (step == 0 || !radios)
        return false;
    const QList<QAbstractButton*> buttons = radios->buttons();
    const qsizetype count = buttons.size();
    QAbstractButton* to = buttons.at((buttons.indexOf(from) + step + count) % count);
    to->setFocus(Qt::TabFocusReason);
    to->click();
    return true;
}

bool TemplateDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        if (auto* radio = qobject_cast<QRadioButton*>(watched);
            radio && StepRadioGroup(radio, static_cast<QKeyEvent*>(event)->key()))
            return true;
    }
    // An edit box reports losing the focus, except to a popup menu, which
    // leaves the focus where it was.
    if (event->type() == QEvent::FocusOut && m_editIds.contains(watched) &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        OnNotify(m_editIds.value(watched), Notification::killFocus);
    return QDialog::eventFilter(watched, event);
}

} // namespace vostrel
