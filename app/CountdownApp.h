#pragma once

namespace vostrel {

// The application: runs the countdown window as the program's main window
// for as long as the program lives.
class CCountdownApp {
public:
    // Runs the countdown window until it ends; false tells the caller that
    // the program is over.
    bool InitInstance();
};

} // namespace vostrel
