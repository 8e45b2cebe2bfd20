// The check that runs before Qt starts: no display, one line and no start.
#include "app/desktop/DisplayCheck.h"

#include <gtest/gtest.h>

using namespace vostrel;

namespace {

using Environment = std::map<std::string, std::string>;

// What a start with this environment and command line is told.
std::optional<std::string> Complaint(const Environment& environment, std::vector<const char*> arguments)
{
    const DisplayCheck check(static_cast<int>(arguments.size()), arguments.data(),
                             [&environment](const char* name) -> const char* {
                                 const auto found = environment.find(name);
                                 return found == environment.end() ? nullptr : found->second.c_str();
                             });
    return check.Complaint();
}

// Empty variables name no display; a platform that needs none passes; an
// explicit window system (-platform outranks the environment) needs its own.
TEST(DisplayCheck, ComplainsOnlyWhenThePlatformsOwnDisplayIsMissing)
{
    EXPECT_EQ(Complaint({}, {"/opt/tools/Timer"}),
              "Timer needs a graphical desktop session: neither DISPLAY nor WAYLAND_DISPLAY is set.");
    for (const char* platform : {"offscreen", "minimal", "vnc", "linuxfb", "eglfs", "xcb;offscreen"})
        EXPECT_EQ(Complaint({{"QT_QPA_PLATFORM", platform}}, {"Vostrel"}), std::nullopt) << platform;
    const std::string none = "Vostrel needs a graphical desktop session: ";
    const std::string x11 = none + "DISPLAY is not set.", wayland = none + "WAYLAND_DISPLAY is not set.";
    const std::string platform = "QT_QPA_PLATFORM";
    const std::tuple<Environment, std::vector<const char*>, std::optional<std::string>> cases[] = {
        {{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}},
         {"Vostrel"},
         none + "neither DISPLAY nor WAYLAND_DISPLAY is set."},
        {{{"DISPLAY", ":0"}}, {"Vostrel"}, std::nullopt},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, {"Vostrel"}, std::nullopt},
        {{{platform, "xcb"}}, {"Vostrel"}, x11},
        {{{platform, "xcb"}, {"WAYLAND_DISPLAY", "wayland-0"}}, {"Vostrel"}, x11},
        {{{platform, "wayland-egl"}, {"WAYLAND_DISPLAY", "wayland-0"}}, {"Vostrel"}, std::nullopt},
        {{{platform, "xcb:nomitshm"}, {"DISPLAY", ":1"}}, {"Vostrel"}, std::nullopt},
        {{{platform, "xcb:nomitshm"}}, {"Vostrel"}, x11},
        {{}, {"Vostrel", "-display", ":2"}, std::nullopt},
        {{{platform, "wayland"}}, {"Vostrel", "-display", ":2"}, wayland},
        {{{platform, "xcb"}}, {"Vostrel", "-platform", "offscreen"}, std::nullopt},
        {{{platform, "offscreen"}}, {"Vostrel", "-platform", "wayland"}, wayland}};
    for (const auto& [environment, arguments, complaint] : cases)
        EXPECT_EQ(Complaint(environment, arguments), complaint) << arguments.back() << environment.size();
}

} // namespace
