#pragma once

#include "app/framework/WindowPlatform.h"

#include <functional>

class QWidget;

namespace vostrel {

class Application;
class Clock;
class DesktopNotifier;
class LoginStart;
class Messages;
class ProfileStore;
class Speaker;
class TrayArea;

// What the countdown window needs from outside: the clock, the speaker, the
// settings store, message boxes, desktop notifications, the notification
// area, the application whose main window it is and the switch that starts
// it at login.
struct CountdownServices {
    const Clock& clock;
    Speaker& speaker;
    ProfileStore& store;
    Messages& messages;
    DesktopNotifier& notifier;
    TrayArea& trayArea;
    Application& app;
    LoginStart& loginStart;
    // Whether the window's position can be read and set, to be kept
    // between runs.
    bool placesWindows = PlatformPlacesWindows();
    // Whether a shown window is really on the screen (see IsOnScreen).
    std::function<bool(const QWidget&)> isOnScreen = IsOnScreen;
};

} // namespace vostrel
