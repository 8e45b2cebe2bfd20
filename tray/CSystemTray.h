#pragma once

#include "app/framework/WindowPlatform.h"
#include "engine/OleDate.h"
#include "resources/Icons.h"
#include "tray/PopupMenu.h"
#include "tray/area/NotifyIconData.h"

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace vostrel {

class Application;
class Clock;
class Messages;
class MessageWindow;
class TrayArea;

using BOOL = std::int32_t;
constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;

// The id every animation asks for its step timer on the hidden window.
constexpr unsigned CYCLE_TIMER_ID = 4567;

// Storage for the animation's icons. Icon ids are 16-bit, so a longer list
// than one icon for each id is refused as running out of memory rather
// than grown without bound.
template <typename T> struct FrameAllocator {
    using value_type = T;
    static constexpr std::size_t kMaxIcons = 0x10000;
    FrameAllocator() = default;
    template <typename U> FrameAllocator(const FrameAllocator<U>&) {}
    T* allocate(std::size_t n)
    {
        if (n > kMaxIcons)
            throw std::bad_alloc();
        return std::allocator<T>().allocate(n);
    }
    void deallocate(T* p, std::size_t n) { std::allocator<T>().deallocate(p, n); }
    template <typename U> bool operator==(const FrameAllocator<U>&) const { return true; }
};
using FrameList = std::vector<res::IconHandle, FrameAllocator<res::IconHandle>>;

// What a tray icon needs from outside.
struct TrayServices {
    TrayArea& area;
    Application& app; // whose main window receives the menu commands
    const Clock& clock;
    Messages& messages;
    MenuLookup menus = res::FindMenu;
    // Whether the icon's own popup menu can open where the desktop asks for
    // it; where it cannot, it opens over the main window, shown first.
    bool popupMenus = PlatformPlacesWindows();
};

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
