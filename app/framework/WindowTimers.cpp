#include "app/framework/WindowTimers.h"

#include <QTimerEvent>

namespace vostrel {

void WindowTimers::Set(int id, int milliseconds)
{
    m_timers[id].start(milliseconds, Qt::PreciseTimer, m_owner);
}

void WindowTimers::Kill(int id)
{
    if (const auto found = m_timers.find(id); found != m_timers.end())
        found->second.stop();
}

bool WindowTimers::IsActive(int id) const
{
    const auto found = m_timers.find(id);
    return found != m_timers.end() && found->second.isActive();
}

std::optional<int> WindowTimers::IdOf(const QTimerEvent* event) const
{
    for (const auto& [id, timer] : m_timers) {
        if (timer.isActive() && timer.timerId() == event->timerId())
            return id;
    }
    return std::nullopt;
}

} // namespace vostrel
