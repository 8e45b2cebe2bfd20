#pragma once

#include <QBasicTimer>
#include <map>
#include <optional>

class QObject;
class QTimerEvent;

namespace vostrel {

// Timers that a window knows by its own ids, as its event table names them.
// They are precise: Qt's default coarse timers may fire up to 5% off.
class WindowTimers {
public:
    explicit WindowTimers(QObject* owner) : m_owner(owner) {}

    // Starts (or restarts) timer id every milliseconds.
    void Set(int id, int milliseconds);
    void Kill(int id);
    bool IsActive(int id) const;
    // The id of the timer that fired, or nothing if it is not one of these.
    std::optional<int> IdOf(const QTimerEvent* event) const;

private:
    QObject* m_owner;
    std::map<int, QBasicTimer> m_timers;
};

} // namespace vostrel
