#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace vostrel {

// Ends the process with a status of its own choosing if what follows Arm()
// has not ended it in time. The program arms it once its work is done and
// saved: the toolkit's teardown of a display connection can wait for ever
// (seen on Wayland), and a program the user told to exit must not linger.
// Destroyed in time, it does nothing.
class ExitDeadline {
public:
    ExitDeadline() = default;
    ExitDeadline(const ExitDeadline&) = delete;
    ExitDeadline& operator=(const ExitDeadline&) = delete;

    // After the time given, writes the note on stderr and ends the process
    // with the status.
    void Arm(std::chrono::milliseconds within, int status, std::string note);

private:
    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    // Last, so that it is stopped and joined before the rest goes.
    std::jthread m_watch;
};

} // namespace vostrel
