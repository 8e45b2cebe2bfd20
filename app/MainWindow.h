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

// Which window is the application's main window; none until the
// application names one.
class Application {
public:
    CommandWindow* GetMainWnd() const { return m_pMainWnd; }
    void SetMainWnd(CommandWindow* window) { m_pMainWnd = window; }

private:
    CommandWindow* m_pMainWnd = nullptr;
};

} // namespace vostrel
