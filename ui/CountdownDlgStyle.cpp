// The icon choice and the styling of the time-left display.
#include "ui/CountdownDlg.h"

#include "resources/ResourceIds.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>

#include <algorithm>

namespace vostrel {
namespace {

// The icon resource of each icon choice; choice 5 is 136 (there is no 135).
constexpr int kChoiceIcons[] = {res::IDI_FIRECRACKER, res::IDI_EYE,   res::IDI_FROWN,
                                res::IDI_SMILE,       res::IDI_CLOCK, res::IDI_STOPWATCH2};
// What each choice's picture shows, for screen readers.
constexpr const char* kChoiceNames[] = {"firecracker", "eye", "frown", "smile", "clock", "stopwatch"};

constexpr QRgb kDisplayGreen = 0x00FF00;

} // namespace

void CCountdownDlg::ApplyIconChoice()
{
    if (m_nWhichIcon >= 0 && m_nWhichIcon <= 5)
        m_hIcon = res::LoadIconHandle(kChoiceIcons[m_nWhichIcon]);
    setWindowIcon(res::IconFromHandle(m_hIcon)); // the same picture, big and small
    m_TrayIcon.ChangeIcon(m_hIcon);
}

void CCountdownDlg::NameTheControlsWithoutText()
{
    for (int choice = 0; choice < 6; ++choice) {
        if (QWidget* picture = GetDlgItem(res::IDC_ICON_CHOICE0 + choice))
            picture->setAccessibleName(
                QStringLiteral("Icon: %1").arg(QLatin1StringView(kChoiceNames[choice])));
    }
    // A text, announced as the text it shows.
    if (QWidget* display = GetDlgItem(res::IDC_DISPLAY))
        display->setAccessibleDescription(QStringLiteral("Time left"));
}

void CCountdownDlg::OnIconClicked(int controlId)
{
    m_nWhichIcon = controlId - res::IDC_ICON_CHOICE0;
    ApplyIconChoice();
}

void CCountdownDlg::CreateDisplayFont()
{
    auto* display = Item<QLabel>(res::IDC_DISPLAY);
    m_rcDisplay = QRect(display->mapToGlobal(QPoint(0, 0)), display->size());

    // Bold, fixed pitch, with characters as tall as the display itself.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setBold(true);
    font.setPixelSize(m_rcDisplay.height());
    font.setStyleStrategy(QFont::PreferQuality);
    m_Font = font;
    display->setFont(*m_Font);

    // Green text straight on the dialog's own background.
    QPalette palette = display->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(kDisplayGreen));
    display->setPalette(palette);
    display->setAutoFillBackground(false);
}

void CCountdownDlg::FitDisplayText()
{
    // The display keeps its font; only a text wider than the control (a
    // long way past the end in hours, minutes and seconds) is drawn smaller,
    // so that the whole figure and its unit can be read.
    auto* display = Item<QLabel>(res::IDC_DISPLAY);
    if (!m_Font || !display)
        return;
    QFont font = *m_Font;
    const QString text = display->text();
    int width = QFontMetrics(font).horizontalAdvance(text);
    while (width > display->width() && font.pixelSize() > 1) {
        // Down in proportion, then a pixel at a time for what rounding leaves.
        const int proportional = font.pixelSize() * display->width() / width;
        font.setPixelSize(std::max(1, std::min(font.pixelSize() - 1, proportional)));
        width = QFontMetrics(font).horizontalAdvance(text);
    }
    if (display->font() != font)
        display->setFont(font);
}

} // namespace vostrel
