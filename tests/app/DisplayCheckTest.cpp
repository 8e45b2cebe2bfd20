// The check that runs before Qt starts: no display, one line and no start.
#include "DisplayCheck.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace vostrel {
namespace {

using Environment = std::map<std::string, std::string>;

// What a start with this environment and command line is told.
std::optional<std::string> Complaint(const Environment& environment,
                                     std::vector<const char*> arguments = {"/usr/bin/Vostrel"})
{
    const DisplayCheck check(static_cast<int>(arguments.size()), arguments.data(),
                             [&environment](const char* name) -> const char* {
                                 const auto found = environment.find(name);
                                 return found == environment.end() ? nullptr : found->second.c_str();
                             });
    return check.Complaint();
}

TEST(DisplayCheck, WithoutAnyDisplayNamesBothVariablesAndTheProgram)
{
    EXPECT_EQ(Complaint({}, {"/opt/tools/Timer"}),
              "Timer needs a graphical desktop session: neither DISPLAY nor WAYLAND_DISPLAY is set.");
    // Set but empty names no display either.
    EXPECT_TRUE(Complaint({{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}).has_value());
}

TEST(DisplayCheck, EitherDisplayIsEnough)
{
    EXPECT_EQ(Complaint({{"DISPLAY", ":0"}}), std::nullopt);
    EXPECT_EQ(Complaint({{"WAYLAND_DISPLAY", "wayland-0"}}), std::nullopt);
}

TEST(DisplayCheck, APlatformThatNeedsNoDisplayIsTakenAsItIs)
{
    for (const char* platform : {"offscreen", "minimal", "vnc", "linuxfb", "eglfs", "xcb;offscreen"})
        EXPECT_EQ(Complaint({{"QT_QPA_PLATFORM", platform}}), std::nullopt) << platform;
}

TEST(DisplayCheck, AnExplicitWindowSystemIsCheckedForItsOwnVariable)
{
    EXPECT_EQ(Complaint({{"QT_QPA_PLATFORM", "xcb"}}),
              "Vostrel needs a graphical desktop session: DISPLAY is not set.");
    EXPECT_TRUE(Complaint({{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "wayland-0"}}).has_value());
    EXPECT_EQ(Complaint({{"QT_QPA_PLATFORM", "wayland-egl"}, {"WAYLAND_DISPLAY", "wayland-0"}}),
              std::nullopt);
    // Options after the name do not hide it.
    EXPECT_EQ(Complaint({{"QT_QPA_PLATFORM", "xcb:nomitshm"}, {"DISPLAY", ":1"}}), std::nullopt);
    EXPECT_TRUE(Complaint({{"QT_QPA_PLATFORM", "xcb:nomitshm"}}).has_value());
}

TEST(DisplayCheck, AnX11DisplayMayBeNamedOnTheCommandLine)
{
    EXPECT_EQ(Complaint({}, {"Vostrel", "-display", ":2"}), std::nullopt);
    EXPECT_EQ(Complaint({{"QT_QPA_PLATFORM", "wayland"}}, {"Vostrel", "-display", ":2"}),
              "Vostrel needs a graphical desktop session: WAYLAND_DISPLAY is not set.");
}

TEST(DisplayCheck, ThePlatformArgumentOutranksTheEnvironment)
{
    EXPECT_EQ(Complaint({{"QT_QPA_PLATFORM", "xcb"}}, {"Vostrel", "-platform", "offscreen"}), std::nullopt);
    EXPECT_EQ(Complaint({{"QT_QPA_PLATFORM", "offscreen"}}, {"Vostrel", "-platform", "wayland"}),
              "Vostrel needs a graphical desktop session: WAYLAND_DISPLAY is not set.");
}

} // namespace
} // namespace vostrel
