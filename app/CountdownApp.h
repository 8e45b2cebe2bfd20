#pragma once

#include "app/command/RemoteRequest.h"

#include <optional>

namespace vostrel {

// The application: runs the countdown window as the program's main window
// for as long as the program lives.
class CCountdownApp {
public:
    // firstRequest: what this start asks for (show the window, a new
    // target), handed to a copy that already runs or carried out here.
    explicit CCountdownApp(std::optional<RemoteRequest> firstRequest = {})
        : m_firstRequest(std::move(firstRequest))
    {
    }

    // Runs the countdown window until it ends; false tells the caller that
    // the program is over.
    bool InitInstance();

private:
    std::optional<RemoteRequest> m_firstRequest;
};

} // namespace vostrel
