#pragma once

#include <thread>

namespace vostrel {

// One-time loading that the first window needs but that needs neither the
// main thread nor the window, begun on a second thread so that the tray
// icon appears sooner.

// Reads the font configuration (fontconfig parses some fifty files) while
// the application object connects to the display. Not joinable where fonts
// do not come from fontconfig. Join it before the first font is used.
std::jthread ReadFontConfiguration();

// Lists Qt's image format plugins (a scan of their folder) and loads the
// icon plugin while the window's controls are made, so that the first icon
// does not wait for them. Needs the application object.
std::jthread LoadIconPlugin();

} // namespace vostrel
