#include "ui/CountdownDlg.h"

#include "resources/Latin1.h"

#include "app/desktop/DesktopNotifier.h"
#include "app/framework/DataExchange.h"
#include "app/framework/Messages.h"
#include "app/sound/Speaker.h"
#include "resources/ResourceIds.h"
#include "settings/login/LoginStart.h"
#include "ui/AboutDlg.h"
#include "ui/HelpText.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QPushButton>

#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vostrel {
namespace {

using namespace res;

// The callback message the notification area sends for the tray icon.
constexpr unsigned WM_TRAYNOTIFY = WM_USER + 10;
constexpr int kRefreshTimerId = 1;
constexpr int kVacationDaysMaxChars = 2;

// The window's event table: a notification from a range of controls, or a
// command, and the handler that takes it.
struct ControlEvent {
    TemplateDialog::Notification code;
    int firstId;
    int lastId;
    void (CCountdownDlg::*handler)(int controlId);
};

struct CommandEvent {
    unsigned id;
    void (CCountdownDlg::*handler)();
};

} // namespace

// Defined here, inside the class's scope, so the table may name private handlers.
struct CountdownEventTable {
    static constexpr ControlEvent kControls[] = {
        // The unit buttons, 1000 (H:M:S) to 1004 (D).
        {TemplateDialog::Notification::clicked, IDC_UNIT_HMS, IDC_UNIT_DAYS, &CCountdownDlg::OnUnitClicked},
        {TemplateDialog::Notification::clicked, IDC_BTN_OK, IDC_BTN_OK, &CCountdownDlg::OnOkClicked},
        {TemplateDialog::Notification::killFocus, IDC_END_DATE, IDC_END_DATE,
         &CCountdownDlg::OnEndDateKillFocus},
        {TemplateDialog::Notification::killFocus, IDC_VAC_DAYS, IDC_VAC_DAYS,
         &CCountdownDlg::OnVacDaysKillFocus},
        {TemplateDialog::Notification::clicked, IDC_ICON_CHOICE0, IDC_ICON_CHOICE5,
         &CCountdownDlg::OnIconClicked},
    };
    static constexpr CommandEvent kCommands[] = {
        {ID_APP_EXIT, &CCountdownDlg::OnAppExit},
        {ID_SHOW_ABOUT, &CCountdownDlg::OnShowAbout},
        {ID_SHOW_HELP, &CCountdownDlg::OnShowHelp},
        {ID_UPDATE_TIMER, &CCountdownDlg::OnUpdateTimer},
    };
};

CCountdownDlg::CCountdownDlg(const CountdownServices& services)
    : TemplateDialog(IDD_COUNTDOWN, services.messages),
      m_TrayIcon({services.trayArea, services.app, services.clock, services.messages, res::FindMenu,
                  services.placesWindows}),
      m_services(services)
{
    m_strEndDate = "01/01/2000";
    m_nDisplayPeriod = unitSeconds;
    m_strVacDays = "0";
}

CCountdownDlg::~CCountdownDlg() = default;

void CCountdownDlg::OnInitDialog()
{
    AddAboutEntry();
    CreateDisplayFont();
    NameTheControlsWithoutText();
    LoadSettings();
    ComputeVacationAdjust();
    ScheduleNextTick();
    m_bVisible = false;
    CreateTrayIcon();
    m_TrayIcon.ChangeIcon(m_hIcon);
    // The initial focus goes to the first control with a tab stop.
    if (QWidget* vacationDays = GetDlgItem(IDC_VAC_DAYS))
        vacationDays->setFocus(Qt::OtherFocusReason);
}

void CCountdownDlg::DoDataExchange(DataExchange& exchange)
{
    exchange.Control(IDC_BTN_OK, m_btnOK);
    exchange.Text(IDC_END_DATE, m_strEndDate);
    exchange.Text(IDC_DISPLAY, m_strDisplay);
    exchange.RadioIndex(IDC_UNIT_DAYS, m_nDisplayPeriod);
    exchange.LimitedText(IDC_VAC_DAYS, m_strVacDays, kVacationDaysMaxChars);
    if (!exchange.Saving())
        FitDisplayText();
}

void CCountdownDlg::OnNotify(int controlId, Notification code)
{
    for (const ControlEvent& entry : CountdownEventTable::kControls) {
        if (entry.code == code && controlId >= entry.firstId && controlId <= entry.lastId) {
            (this->*entry.handler)(controlId);
            return;
        }
    }
}

bool CCountdownDlg::OnCommand(unsigned id)
{
    for (const CommandEvent& entry : CountdownEventTable::kCommands) {
        if (entry.id == id) {
            (this->*entry.handler)();
            return true;
        }
    }
    return false;
}

void CCountdownDlg::OnSysCommand(unsigned id)
{
    constexpr unsigned kCloseCommand = 0xF060;
    if ((id & 0xFFF0) == IDM_ABOUTBOX)
        OnShowAbout();
    else if ((id & 0xFFF0) == kCloseCommand)
        close();
}

void CCountdownDlg::OnTimer(int)
{
    // Re-armed at every tick for just after the next second begins, so the
    // display changes with the wall clock's second, never skipping one.
    ScheduleNextTick();
    RefreshDisplay();
}

void CCountdownDlg::ScheduleNextTick()
{
    Timers().Set(kRefreshTimerId, MillisecondsToNextSecond(m_services.clock.MillisecondsIntoSecond()));
}

void CCountdownDlg::OnOkClicked(int)
{
    SaveSettings();
    m_services.notifier.Close();
    ComputeVacationAdjust();
    hide();
    m_bVisible = false;
}

void CCountdownDlg::ConfirmTarget(const std::optional<std::string>& target, std::optional<std::int32_t> unit)
{
    // What the user has typed into the other boxes stays, as it would.
    UpdateData(true);
    if (target)
        m_strEndDate = *target;
    if (unit)
        m_nDisplayPeriod = *unit;
    UpdateData(false);
    OnOkClicked(IDC_BTN_OK);
}

void CCountdownDlg::OnAppExit()
{
    UpdateData(true);
    done(QDialog::Accepted);
}

void CCountdownDlg::OnShowAbout()
{
    CAboutDlg about(m_services.messages, this);
    about.DoModal();
}

void CCountdownDlg::OnShowHelp()
{
    m_services.messages.Show(this, FromLatin1(HelpText()));
}

void CCountdownDlg::OnUpdateTimer()
{
    m_bVisible = true;
    BringBack();
    m_services.notifier.Close(); // the user is here: it has done its work
}

int CCountdownDlg::CreateTrayIcon()
{
    const IconHandle icon = LoadIconHandle(IDI_STOPWATCH2);
    if (!m_TrayIcon.AddToTray(nullptr, WM_TRAYNOTIFY, "Vostrel", icon, IDR_TRAYMENU))
        return -1;
    m_TrayIcon.SetDefaultEntry(0, TRUE);
    return 0;
}

void CCountdownDlg::StartVisibility()
{
    // The window appears only when it is meant to be seen; it starts
    // hidden unless the countdown asked for it.
    ApplyVisibility();
}

void CCountdownDlg::ApplyVisibility()
{
    if (m_bVisible)
        ShowIfHidden();
    else if (isVisible())
        hide();
}

void CCountdownDlg::paintEvent(QPaintEvent* event)
{
    if (isMinimized()) {
        // Where the platform asks a minimised window to draw itself, it
        // shows its icon in the middle.
        constexpr int kIconSize = 32;
        QPainter painter(this);
        IconFromHandle(m_hIcon).paint(&painter, (width() - kIconSize + 1) / 2, (height() - kIconSize + 1) / 2,
                                      kIconSize, kIconSize);
    } else {
        TemplateDialog::paintEvent(event);
    }
    // Whatever showed or hid the window, after a paint it is shown exactly
    // when it is meant to be.
    QMetaObject::invokeMethod(this, &CCountdownDlg::KeepVisibility, Qt::QueuedConnection);
}

void CCountdownDlg::KeepVisibility()
{
    // A paint may follow the user's minimising (a tick's repaint on its way
    // as the window manager iconifies the window): that leaves the window
    // minimised. Only the alarm and Update Timer bring it back.
    if (m_bVisible && isMinimized())
        return;
    ApplyVisibility();
}

void CCountdownDlg::Beep(unsigned frequencyHz, unsigned durationMs)
{
    // Sounded once the tick is done: an alarm's first beep opens the sound
    // output, which takes tens of milliseconds that the tooltip's change,
    // due at the start of the second, should not wait for.
    QMetaObject::invokeMethod(
        this, [this, frequencyHz, durationMs] { m_services.speaker.Beep(frequencyHz, durationMs); },
        Qt::QueuedConnection);
}

void CCountdownDlg::ShowWindow()
{
    // Only the alarm shows the window from within a refresh.
    m_alarmThisRefresh = true;
    // Shown once the tick is done: a window's first showing makes its
    // native window and takes some twenty milliseconds, which the
    // tooltip's change, due at the start of the second, should not wait for.
    // By then the window may no longer be meant to show, as at the start.
    QMetaObject::invokeMethod(this, &CCountdownDlg::ShowForAlarm, Qt::QueuedConnection);
}

void CCountdownDlg::ShowForAlarm()
{
    ApplyVisibility();
    // The toolkit can lose track of a window the window manager iconified
    // (a restore it asked for that the window manager never carried out):
    // it then believes the window shown and in place, and asking it to show
    // or restore the window does nothing. A window still off the screen at
    // the next second's request is shown afresh, as a new window, which
    // every window manager puts on the screen. A window just shown is on
    // the screen well within that second.
    const bool offScreen = m_bVisible && isVisible() && !isMinimized() && !m_services.isOnScreen(*this);
    if (std::exchange(m_offScreenAtLastAlarm, offScreen) && offScreen) {
        m_offScreenAtLastAlarm = false; // the window shown afresh gets its second
        hide();
        BringBack();
    }
}

void CCountdownDlg::ShowIfHidden()
{
    // The alarm asks again every second: a window already in view stays
    // where the user has put it, behind other windows or not.
    if (!isVisible() || isMinimized())
        BringBack();
}

void CCountdownDlg::ChangeTip(const std::string& tip)
{
    m_TrayIcon.ChangeTip(tip);
    // The tip is the last thing every refresh gives: the countdown has just
    // passed its end when this refresh raised the alarm and the one before
    // did not.
    const bool expired = std::exchange(m_alarmThisRefresh, false);
    if (expired && !m_expired)
        NotifyExpiry();
    m_expired = expired;
    if (!expired)
        m_offScreenAtLastAlarm = false; // a later alarm starts its own count
}

void CCountdownDlg::NotifyExpiry()
{
    // On desktops without tooltips, or with the user in another window, the
    // alarm is easy to miss: the desktop is told once, as the end passes.
    m_services.notifier.Notify(
        QStringLiteral("Time is up"),
        QStringLiteral("The countdown to %1 has ended.").arg(FromLatin1(m_strEndDate)));
}

void CCountdownDlg::BringBack()
{
    // Window managers minimise even windows without a minimise button; a
    // window shown again must come back from that too, in front.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void CCountdownDlg::AddAboutEntry()
{
    const std::string_view entry = LoadString(IDS_ABOUTBOX);
    if (entry.empty())
        return;
    m_aboutEntry = FromLatin1(entry);
#ifdef Q_OS_WIN
    if (HMENU systemMenu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE)) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, std::string(entry).c_str());
    }
#endif
}

void CCountdownDlg::contextMenuEvent(QContextMenuEvent* event)
{
    // Linux window managers keep their window menus to themselves: the same
    // About entry is offered on the window's background instead.
    QMenu menu(this);
    QAction* about = m_aboutEntry.isEmpty() ? nullptr : menu.addAction(m_aboutEntry);
    // Checked while the entry that starts the program at login is there.
    QAction* atLogin = menu.addAction(QStringLiteral("Start at &Login"));
    atLogin->setCheckable(true);
    atLogin->setChecked(m_services.loginStart.IsOn());
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen && chosen == about)
        OnSysCommand(IDM_ABOUTBOX);
    else if (chosen && chosen == atLogin)
        OnStartAtLogin(atLogin->isChecked());
}

void CCountdownDlg::OnStartAtLogin(bool on)
{
    if (!m_services.loginStart.SetOn(on))
        m_services.messages.Show(this, on ? QStringLiteral("Could not turn on starting at login.")
                                          : QStringLiteral("Could not turn off starting at login."));
}

#ifdef Q_OS_WIN
bool CCountdownDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == IDM_ABOUTBOX) {
        OnSysCommand(static_cast<unsigned>(msg->wParam));
        *result = 0;
        return true;
    }
    return TemplateDialog::nativeEvent(eventType, message, result);
}
#endif

} // namespace vostrel
