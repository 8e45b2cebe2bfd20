// The tray icon's animation: cycling the picture through a list of icons
// for a number of seconds, then putting back the picture shown before.
#include "tray/SystemTray.h"

#include "app/framework/Messages.h"
#include "engine/Clock.h"
#include "tray/area/TrayArea.h"

#include <new>

namespace vostrel {

BOOL CSystemTray::LoadIconRange(std::uint32_t firstId, std::uint32_t lastId)
{
    if (firstId > lastId)
        return FALSE;
    m_FrameIcons.clear();
    try {
        for (std::uint64_t id = firstId; id <= lastId; ++id)
            m_FrameIcons.push_back(res::LoadIconHandle(static_cast<int>(id & 0xFFFF)));
    } catch (const std::bad_alloc&) {
        m_services.messages.Show(nullptr, QStringLiteral("Out of memory."));
        m_FrameIcons.clear();
        m_FrameIcons.shrink_to_fit();
        return FALSE;
    }
    return TRUE;
}

BOOL CSystemTray::StartCycle(std::uint32_t msPerFrame, std::int32_t seconds)
{
    EndCycle();
    m_nFrame = 0;
    m_CycleStart = m_services.clock.Now();
    m_nCycleSeconds = seconds;
    m_hRestoreIcon = CurrentIcon();
    // Before the hidden window exists there is nothing to animate.
    m_nCycleTimer = m_window ? StartFrameTimer(msPerFrame) : 0;
    if (m_nCycleTimer != 0 && m_bInTray)
        m_services.area.SetAttention(m_IconRecord, true);
    return m_nCycleTimer != 0 ? TRUE : FALSE;
}

BOOL CSystemTray::AdvanceCycle()
{
    if (m_FrameIcons.empty())
        return FALSE;
    if (++m_nFrame >= static_cast<std::int32_t>(m_FrameIcons.size()))
        m_nFrame = 0;
    return ChangeIcon(m_FrameIcons[static_cast<std::size_t>(m_nFrame)]);
}

BOOL CSystemTray::EndCycle()
{
    const bool wasRunning = m_nCycleTimer != 0;
    const BOOL stopped = wasRunning && StopFrameTimer(m_nCycleTimer) ? TRUE : FALSE;
    m_nCycleTimer = 0;
    if (m_hRestoreIcon != 0)
        ChangeIcon(m_hRestoreIcon);
    m_hRestoreIcon = 0;
    if (wasRunning && m_bInTray)
        m_services.area.SetAttention(m_IconRecord, false);
    return stopped;
}

void CSystemTray::OnCycleTimer(std::uint32_t)
{
    const double elapsedSeconds = (m_services.clock.Now() - m_CycleStart).GetTotalSeconds();
    // A clock stepped back past the start (a manual correction, the repeated
    // hour of a fall-back) would otherwise keep the frames cycling until the
    // wall clock caught up, long after the alarm that started them ended.
    if (elapsedSeconds < 0 || (m_nCycleSeconds > 0 && elapsedSeconds > static_cast<double>(m_nCycleSeconds)))
        EndCycle();
    else
        AdvanceCycle();
}

} // namespace vostrel
