// Keeping the user's target, unit, icon, vacation days and window position
// between runs.
#include "ui/CountdownDlg.h"

#include "settings/ProfileStore.h"

#include <QGuiApplication>
#include <QScreen>

namespace vostrel {
namespace {
constexpr std::string_view kSection = "Settings";
}

void CCountdownDlg::LoadSettings()
{
    ProfileStore& store = m_services.store;
    m_strEndDate = store.ReadText(kSection, "EndDate", "01/01/2001");
    m_nDisplayPeriod = store.ReadInt(kSection, "DisplayPeriod", unitDays);
    m_nWhichIcon = store.ReadInt(kSection, "WhichIcon", 5);
    ApplyIconChoice();
    m_strVacDays = store.ReadText(kSection, "VacationDays", "0");
    UpdateData(false);

    const int x = store.ReadInt(kSection, "x", -1);
    const int y = store.ReadInt(kSection, "y", -1);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize();
    // A corner off the primary screen, even one left by a window partly off
    // its left or top edge, keeps the template's position.
    if (x < 0 || x >= screenSize.width() || y < 0 || y >= screenSize.height())
        return;
    move(x, y);
    update();
}

void CCountdownDlg::SaveSettings()
{
    UpdateData(true);
    // An interval still as typed (Enter saves while the target box has the
    // focus) is turned into its end first, so the stored text is the
    // moment the user sees rather than a fresh interval at every start.
    if (m_strEndDate.find('+') != std::string::npos)
        ResolveTarget();
    ProfileStore& store = m_services.store;
    store.WriteText(kSection, "EndDate", m_strEndDate);
    store.WriteInt(kSection, "DisplayPeriod", m_nDisplayPeriod);
    store.WriteInt(kSection, "WhichIcon", m_nWhichIcon);
    store.WriteText(kSection, "VacationDays", m_strVacDays);
    // A platform that keeps positions to itself reports every window at
    // 0,0: the position stored from elsewhere stays.
    if (!m_services.placesWindows)
        return;
    const QPoint corner = frameGeometry().topLeft();
    store.WriteInt(kSection, "x", corner.x());
    store.WriteInt(kSection, "y", corner.y());
}

} // namespace vostrel
