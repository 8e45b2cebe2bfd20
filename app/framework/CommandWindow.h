#pragma once

class QWidget;

namespace vostrel {

// The application's main window, as menus and the tray icon address it.
class CommandWindow {
public:
    virtual ~CommandWindow() = default;
    // Delivers a menu command and returns once it is handled.
    virtual void SendCommand(unsigned id) = 0;
    virtual QWidget* Widget() = 0;
};

} // namespace vostrel
