#pragma once

#include "app/framework/CommandWindow.h"

namespace vostrel {

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
