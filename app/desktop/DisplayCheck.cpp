#include "app/desktop/DisplayCheck.h"

#include "app/framework/WindowPlatform.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

namespace vostrel {
namespace {

// The variable a window-system plugin connects by; empty for plugins that
// need no display.
std::string_view DisplayVariable(std::string_view platform)
{
    if (IsX11Platform(platform))
        return "DISPLAY";
    if (IsWaylandPlatform(platform))
        return "WAYLAND_DISPLAY";
    return {};
}

// Qt tries a list such as "wayland;xcb" in turn; its default here is X11,
// or Wayland in a Wayland session.
std::vector<std::string_view> Platforms(std::string_view list)
{
    if (list.empty())
        return {"xcb", "wayland"};
    std::vector<std::string_view> platforms;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        platforms.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return platforms;
}

} // namespace

DisplayCheck::DisplayCheck(int argc, const char* const* argv, Environment environment)
    : m_environment(std::move(environment))
{
    const std::string_view program = argc > 0 && argv[0] ? argv[0] : "Vostrel";
    m_program = program.substr(program.find_last_of('/') + 1);
    const char* platforms = m_environment("QT_QPA_PLATFORM");
    m_platforms = platforms ? platforms : "";
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-platform" || argument == "--platform")
            m_platforms = argv[i + 1];
        // X11's display may be named on the command line instead.
        if (argument == "-display" || argument == "--display")
            m_x11Display = argv[i + 1];
    }
}

std::optional<std::string> DisplayCheck::Complaint() const
{
    std::vector<std::string_view> looked;
    for (const std::string_view platform : Platforms(m_platforms)) {
        // The platform name may carry options: "xcb:nomitshm".
        const std::string_view variable = DisplayVariable(platform.substr(0, platform.find(':')));
        if (variable.empty())
            return std::nullopt;
        const char* value = variable == "DISPLAY" && !m_x11Display.empty()
                                ? m_x11Display.c_str()
                                : m_environment(std::string(variable).c_str());
        if (value && *value)
            return std::nullopt;
        if (std::find(looked.begin(), looked.end(), variable) == looked.end())
            looked.push_back(variable);
    }
    const std::string line = m_program + " needs a graphical desktop session: ";
    if (looked.size() == 1)
        return line + std::string(looked.front()) + " is not set.";
    return line + "neither " + std::string(looked.front()) + " nor " + std::string(looked.back()) +
           " is set.";
}

} // namespace vostrel
