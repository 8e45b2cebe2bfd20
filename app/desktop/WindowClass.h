#pragma once

#include <QObject>

namespace vostrel {

// Gives every top-level window of the program the desktop file name as its
// X11 window class, so that taskbars tie the windows to the launcher and
// its icon. Qt 6.4 names the class after the application (the executable's
// name) and uses the desktop file name only for Wayland's app_id. Does
// nothing on other platforms; the instance part of the class is kept.
class WindowClass final : public QObject {
public:
    WindowClass();
    ~WindowClass() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace vostrel
