#pragma once

#include "engine/OleDate.h"
#include "resources/Icons.h"
#include "tray/FrameList.h"
#include "tray/PopupMenu.h"
#include "tray/TrayServices.h"
#include "tray/area/NotifyIconData.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vostrel {

class MessageWindow;

using BOOL = std::int32_t;
constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;

// The id every animation asks for its step timer on the hidden window.
constexpr unsigned CYCLE_TIMER_ID = 4567;

// One icon in the notification area: its picture, its tooltip, the popup
// menu a right click opens, the command a double click sends, and a timed
// animation of the picture. It knows nothing of what it shows: its owner
// gives it the icon, the text, the icon id and the callback message, and
// its menu commands go to the application's main window.
class CSystemTray {
public:
    explicit CSystemTray(const TrayServices& services);
    virtual ~CSystemTray();
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    BOOL AddToTray(MessageWindow* parent, std::uint32_t callbackMessage, const std::string& tip,
                   res::IconHandle icon, std::uint32_t id);
    void DeleteFromTray();
    BOOL ChangeIcon(res::IconHandle icon);
    res::IconHandle CurrentIcon() const;
    BOOL ChangeTip(const std::string& tip);
    BOOL SetDefaultEntry(std::uint32_t entry, BOOL byPosition);

    // The animation.
    BOOL LoadIconRange(std::uint32_t firstId, std::uint32_t lastId);
    BOOL StartCycle(std::uint32_t msPerFrame, std::int32_t seconds);
    BOOL AdvanceCycle();
    BOOL EndCycle();

    // The hidden window's message handling.
    virtual std::intptr_t WindowProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    virtual std::int32_t HandleTrayMessage(std::uintptr_t wParam, std::intptr_t lParam);

    const NOTIFYICONDATA& Record() const { return m_IconRecord; }
    const FrameList& FrameIcons() const { return m_FrameIcons; }
    bool HasWindow() const { return m_window != nullptr; }

protected:
    void OnCycleTimer(std::uint32_t timerId);

private:
    class HiddenWindow;
    bool Notify(std::uint32_t request);
    void PostToMainWindow(unsigned command) const;
    void PopUpOverMainWindow();
    std::uint32_t StartFrameTimer(std::uint32_t msPerFrame);
    bool StopFrameTimer(std::uint32_t id);

    BOOL m_bInTray = FALSE;
    NOTIFYICONDATA m_IconRecord{};
    FrameList m_FrameIcons;
    std::uint32_t m_nCycleTimer = 0;
    std::int32_t m_nFrame = 0;
    OleDate m_CycleStart;
    std::int32_t m_nCycleSeconds = 0;
    res::IconHandle m_hRestoreIcon = 0;
    std::uint32_t m_nDefaultEntry = 0;
    BOOL m_bDefaultByPosition = TRUE;

    TrayServices m_services;
    std::unique_ptr<HiddenWindow> m_window;
    bool m_menuAwaited = false; // a menu waits for the main window to be on screen
};

} // namespace vostrel
