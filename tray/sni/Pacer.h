#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <chrono>
#include <functional>

namespace vostrel {

// Runs an action at most once per interval. A request made within the
// interval after the last run waits until the interval is over; requests
// that wait together run once. For changes that others must read again in
// full at every announcement, where only the latest state matters.
class Pacer {
public:
    Pacer(std::chrono::milliseconds interval, std::function<void()> action);

    void Request();
    // Runs a waiting request at once.
    void Flush();
    // Runs the action at once, whether or not a request waits.
    void RunNow();

private:
    std::chrono::milliseconds m_interval;
    std::function<void()> m_action;
    QElapsedTimer m_sinceRun;
    QTimer m_waiting;
};

} // namespace vostrel
