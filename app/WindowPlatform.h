#pragma once

namespace vostrel {

// Whether the windowing system lets the program place its own top-level
// windows: read and set their positions, and pop a menu up at a point of
// its choosing. X11, Windows and macOS do; Wayland leaves positions to the
// compositor, and makes a menu a popup only when it answers a click on one
// of the program's own windows.
bool PlatformPlacesWindows();

} // namespace vostrel
