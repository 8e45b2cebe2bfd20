#include "tray/SystemTray.h"

#include "app/framework/Application.h"
#include "app/framework/MessageWindow.h"
#include "app/framework/WindowTimers.h"
#include "tray/area/TrayArea.h"

#include <QCursor>
#include <QObject>
#include <QTimerEvent>
#include <QWidget>

#include <algorithm>
#include <cstring>

namespace vostrel {

// The tray icon's own window: never shown, it receives the notification
// area's mouse messages and the animation's timer ticks.
class CSystemTray::HiddenWindow final : public QObject, public MessageWindow {
public:
    explicit HiddenWindow(CSystemTray& owner) : m_owner(owner) {}

    std::intptr_t WindowProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        return m_owner.WindowProc(message, wParam, lParam);
    }
    std::uint32_t SetTimer(std::uint32_t id, std::uint32_t milliseconds)
    {
        m_timers.Set(static_cast<int>(id),
                     static_cast<int>(std::min<std::uint32_t>(milliseconds, INT32_MAX)));
        return m_timers.IsActive(static_cast<int>(id)) ? id : 0;
    }
    bool KillTimer(std::uint32_t id)
    {
        const bool running = m_timers.IsActive(static_cast<int>(id));
        m_timers.Kill(static_cast<int>(id));
        return running;
    }

protected:
    void timerEvent(QTimerEvent* event) override
    {
        if (const std::optional<int> id = m_timers.IdOf(event))
            m_owner.WindowProc(WM_TIMER, static_cast<std::uintptr_t>(*id), 0);
    }

private:
    CSystemTray& m_owner;
    WindowTimers m_timers{this};
};

namespace {

// Copies a tooltip into the record: at most 63 characters and a terminator.
void CopyTip(char (&target)[64], const std::string& tip)
{
    const std::size_t length = std::min(tip.size(), sizeof target - 1);
    std::memcpy(target, tip.data(), length);
    target[length] = '\0';
}

void BringToFront(CommandWindow* window)
{
    QWidget* widget = window ? window->Widget() : nullptr;
    if (widget && widget->isVisible()) {
        widget->raise();
        widget->activateWindow();
    }
}

} // namespace

CSystemTray::CSystemTray(const TrayServices& services) : m_services(services)
{
}

CSystemTray::~CSystemTray()
{
    DeleteFromTray();
    m_FrameIcons.clear();
    m_FrameIcons.shrink_to_fit();
    // The hidden window goes with its timers: a running animation stops
    // without putting its picture back, since the icon is already gone.
    m_window.reset();
}

bool CSystemTray::Notify(std::uint32_t request)
{
    return m_services.area.ShellNotifyIcon(request, m_IconRecord);
}

std::uint32_t CSystemTray::StartFrameTimer(std::uint32_t msPerFrame)
{
    return m_window->SetTimer(CYCLE_TIMER_ID, msPerFrame);
}

bool CSystemTray::StopFrameTimer(std::uint32_t id)
{
    return m_window && m_window->KillTimer(id);
}

BOOL CSystemTray::AddToTray(MessageWindow* parent, std::uint32_t callbackMessage, const std::string& tip,
                            res::IconHandle icon, std::uint32_t id)
{
    if (!m_services.area.IsAvailable()) {
        m_bInTray = FALSE;
        return FALSE;
    }
    m_window = std::make_unique<HiddenWindow>(*this);
    m_IconRecord.cbSize = sizeof(NOTIFYICONDATA);
    m_IconRecord.hWnd = parent ? parent->Handle() : m_window->Handle();
    m_IconRecord.uID = id;
    m_IconRecord.hIcon = icon;
    m_IconRecord.uCallbackMessage = callbackMessage;
    m_IconRecord.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    CopyTip(m_IconRecord.szTip, tip);
    m_bInTray = Notify(NIM_ADD) ? TRUE : FALSE;
    return m_bInTray;
}

void CSystemTray::DeleteFromTray()
{
    if (!m_bInTray)
        return;
    m_IconRecord.uFlags = 0;
    Notify(NIM_DELETE);
    m_bInTray = FALSE;
}

BOOL CSystemTray::ChangeIcon(res::IconHandle icon)
{
    if (!m_bInTray)
        return FALSE;
    m_IconRecord.uFlags = NIF_ICON;
    m_IconRecord.hIcon = icon;
    return Notify(NIM_MODIFY) ? TRUE : FALSE;
}

res::IconHandle CSystemTray::CurrentIcon() const
{
    return m_bInTray ? m_IconRecord.hIcon : 0;
}

BOOL CSystemTray::ChangeTip(const std::string& tip)
{
    if (!m_bInTray)
        return FALSE;
    m_IconRecord.uFlags = NIF_TIP;
    CopyTip(m_IconRecord.szTip, tip);
    return Notify(NIM_MODIFY) ? TRUE : FALSE;
}

BOOL CSystemTray::SetDefaultEntry(std::uint32_t entry, BOOL byPosition)
{
    if (entry == m_nDefaultEntry && byPosition == m_bDefaultByPosition)
        return TRUE;
    m_nDefaultEntry = entry;
    m_bDefaultByPosition = byPosition;
    // The pair is what lasts; loading the menu only finds out whether the
    // menu and its popup exist.
    const std::unique_ptr<PopupMenu> popup = PopupMenu::Load(m_services.menus, m_IconRecord.uID);
    if (!popup)
        return FALSE;
    popup->SetDefaultItem(m_nDefaultEntry, m_bDefaultByPosition != FALSE);
    return TRUE;
}

std::intptr_t CSystemTray::WindowProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (message == m_IconRecord.uCallbackMessage)
        return HandleTrayMessage(wParam, lParam);
    if (message == WM_TIMER)
        OnCycleTimer(static_cast<std::uint32_t>(wParam));
    // An entry chosen where the desktop draws the menu itself: it goes on
    // to the main window as the popup's choices do.
    if (message == WM_COMMAND)
        PostToMainWindow(static_cast<unsigned>(wParam & 0xFFFF));
    return 0;
}

void CSystemTray::PopUpOverMainWindow()
{
    CommandWindow* mainWindow = m_services.app.GetMainWnd();
    QWidget* window = mainWindow ? mainWindow->Widget() : nullptr;
    if (!window || !m_window || m_menuAwaited)
        return;
    m_menuAwaited = true;
    WhenOnScreen(*window, *m_window, [this, window] {
        m_menuAwaited = false;
        const std::unique_ptr<PopupMenu> popup = PopupMenu::Load(m_services.menus, m_IconRecord.uID);
        if (!popup)
            return;
        popup->SetDefaultItem(m_nDefaultEntry, m_bDefaultByPosition != FALSE);
        // Wayland places a popup relative to its window, not the screen.
        constexpr QPoint kInsideTheWindow(8, 8);
        PostToMainWindow(popup->Track(window->mapToGlobal(kInsideTheWindow), window));
    });
}

void CSystemTray::PostToMainWindow(unsigned command) const
{
    CommandWindow* mainWindow = m_services.app.GetMainWnd();
    if (command == 0 || !mainWindow || !mainWindow->Widget())
        return;
    // It reaches the main window once the current handler is done, as a
    // posted command would.
    QMetaObject::invokeMethod(
        mainWindow->Widget(),
        [&app = m_services.app, command] {
            if (CommandWindow* target = app.GetMainWnd())
                target->SendCommand(command);
        },
        Qt::QueuedConnection);
}

std::int32_t CSystemTray::HandleTrayMessage(std::uintptr_t wParam, std::intptr_t lParam)
{
    if (wParam != m_IconRecord.uID)
        return 0;
    CommandWindow* mainWindow = m_services.app.GetMainWnd();
    const std::uint32_t mouse = static_cast<std::uint32_t>(lParam) & 0xFFFF;

    if (mouse == WM_RBUTTONUP) {
        const std::unique_ptr<PopupMenu> popup = PopupMenu::Load(m_services.menus, m_IconRecord.uID);
        if (!popup)
            return 0;
        // Where a menu must hang from a window of the program's own
        // (Wayland), the window is shown first, as a double click shows it,
        // and the menu opens over it.
        if (!m_services.popupMenus) {
            HandleTrayMessage(wParam, WM_LBUTTONDBLCLK);
            PopUpOverMainWindow();
            return 1;
        }
        popup->SetDefaultItem(m_nDefaultEntry, m_bDefaultByPosition != FALSE);
        // Where the desktop says the click was; the pointer's position only
        // when it does not say (Wayland cannot report the pointer at all).
        const QPoint at = m_services.area.EventPosition().value_or(QCursor::pos());
        BringToFront(mainWindow);
        PostToMainWindow(popup->Track(at, mainWindow ? mainWindow->Widget() : nullptr));
        return 1;
    }
    if (mouse == WM_LBUTTONDBLCLK) {
        BringToFront(mainWindow);
        std::uint32_t command = m_nDefaultEntry;
        if (m_bDefaultByPosition) {
            const std::unique_ptr<PopupMenu> popup = PopupMenu::Load(m_services.menus, m_IconRecord.uID);
            if (!popup)
                return 0;
            command = popup->ItemId(m_nDefaultEntry);
        }
        if (mainWindow)
            mainWindow->SendCommand(command & 0xFFFF);
        return 1;
    }
    return 1; // moves, single clicks and other buttons do nothing
}

} // namespace vostrel
