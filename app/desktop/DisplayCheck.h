#pragma once

#include <functional>
#include <optional>
#include <string>

namespace vostrel {

// Whether Qt will find a display to connect to, asked before the
// application object is made: without one, Qt's window-system plugins end
// the program with a core dump. Looks at the platform asked for (the
// -platform argument, else QT_QPA_PLATFORM) and, for X11 and Wayland, at
// DISPLAY (or the -display argument) and WAYLAND_DISPLAY. A platform that needs no display (offscreen,
// a framebuffer, a VNC server) is taken as it is.
class DisplayCheck {
public:
    using Environment = std::function<const char*(const char* name)>;

    DisplayCheck(int argc, const char* const* argv, Environment environment);

    // The one line to print when there is no display to connect to.
    std::optional<std::string> Complaint() const;

private:
    std::string m_program;
    std::string m_platforms;
    std::string m_x11Display;
    Environment m_environment;
};

} // namespace vostrel
