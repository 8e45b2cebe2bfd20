#include "tray/sni/Pacer.h"

namespace vostrel {

Pacer::Pacer(std::chrono::milliseconds interval, std::function<void()> action)
    : m_interval(interval), m_action(std::move(action))
{
    m_waiting.setSingleShot(true);
    m_waiting.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_waiting, &QTimer::timeout, [this] { RunNow(); });
}

void Pacer::Request()
{
    if (m_waiting.isActive())
        return;
    const auto since =
        std::chrono::milliseconds(m_sinceRun.isValid() ? m_sinceRun.elapsed() : m_interval.count());
    if (since >= m_interval)
        RunNow();
    else
        m_waiting.start(m_interval - since);
}

void Pacer::Flush()
{
    if (m_waiting.isActive())
        RunNow();
}

void Pacer::RunNow()
{
    m_waiting.stop();
    m_sinceRun.start();
    m_action();
}

} // namespace vostrel
