#pragma once

#include "app/framework/WindowPlatform.h"
#include "tray/area/MenuLookup.h"

namespace vostrel {

class Application;
class Clock;
class Messages;
class TrayArea;

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

} // namespace vostrel
