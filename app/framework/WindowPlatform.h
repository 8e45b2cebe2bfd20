#pragma once

#include <functional>
#include <string_view>

class QObject;
class QWidget;

namespace vostrel {

// Whether the windowing system lets the program place its own top-level
// windows: read and set their positions, and pop a menu up at a point of
// its choosing. X11, Windows and macOS do; Wayland leaves positions to the
// compositor, and a menu must hang from a window of the program's own.
bool PlatformPlacesWindows();

// Whether a Qt platform plugin's name is one of its X11 or Wayland ones
// ("xcb"; "wayland", "wayland-egl" and so on).
bool IsX11Platform(std::string_view platform);
bool IsWaylandPlatform(std::string_view platform);
// Whether the program runs on X11: once the application object exists.
bool OnX11();
// Whether it runs on a desktop's windowing system, which has a notification
// area, rather than offscreen or on a framebuffer.
bool OnDesktopPlatform();

// Whether a shown window is on the screen as far as the windowing system
// says: mapped and exposed. A window the window manager keeps iconified or
// withdrawn is not, whatever the toolkit's own idea of its state.
bool IsOnScreen(const QWidget& window);

// Runs an action once a shown window is on screen: right after the current
// event if it already is, else once the windowing system has mapped it
// (Wayland maps a window a moment after it is shown). Nothing runs for a
// window never shown, or once the context is gone.
void WhenOnScreen(QWidget& window, QObject& context, std::function<void()> action);

} // namespace vostrel
