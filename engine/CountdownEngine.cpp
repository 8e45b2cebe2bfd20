#include "engine/CountdownEngine.h"

#include "engine/CountdownText.h"

namespace vostrel {

bool IsReadableTarget(std::string_view target, const Clock& clock)
{
    OleDate moment;
    if (target.find('+') == std::string_view::npos)
        return moment.ParseDateTime(target, clock);
    const std::string_view interval = target.substr(1);
    return ReadIntervalDays(interval).has_value() || moment.ParseDateTime(interval, clock);
}

void CountdownEngine::ComputeVacationAdjust()
{
    // Take in what the vacation box shows now, so leaving it applies the
    // number just typed rather than the one before.
    m_host.ExchangeIn();
    const double vacationDays = ReadLeadingInteger(m_state.m_strVacDays);
    m_state.m_dVacAdjust = vacationDays;
    if (vacationDays > countdown::kVacationThreshold) {
        m_state.m_EndTime.ParseDateTime(m_state.m_strEndDate, m_host.GetClock());
        const double daysLeft = (m_state.m_EndTime - Now()).GetTotalDays();
        m_state.m_dVacAdjust =
            daysLeft * countdown::kYearsPerDay * (vacationDays + countdown::kNonWorkingDaysPerYear);
    } else {
        m_state.m_dVacAdjust = 0.0;
    }
    ResolveTarget();
}

void CountdownEngine::ResolveTarget()
{
    m_host.ExchangeIn();
    if (m_state.m_strEndDate.find('+') != std::string::npos) {
        // The first character is dropped whatever it is: "+3:45" gives "3:45".
        const std::string_view interval = std::string_view(m_state.m_strEndDate).substr(1);
        double intervalDays = 0.0;
        if (const std::optional<double> hours = ReadIntervalDays(interval)) {
            intervalDays = *hours;
        } else {
            OleDate timeOfDay;
            timeOfDay.ParseDateTime(interval, m_host.GetClock());
            intervalDays = timeOfDay.GetValue();
        }
        m_state.m_strEndDate = OleDate(Now().GetValue() + intervalDays).Format();
        m_host.ExchangeOut();
    }
    m_state.m_EndTime.ParseDateTime(m_state.m_strEndDate, m_host.GetClock());
    m_state.m_EndTime = m_state.m_EndTime.GetValue() - m_state.m_dVacAdjust;
    RefreshDisplay();
}

void CountdownEngine::RefreshDisplay()
{
    m_host.ExchangeIn();
    const double daysLeft = (m_state.m_EndTime - Now()).GetTotalDays();
    if (daysLeft < 0) {
        m_host.Beep(countdown::kBeepFrequencyHz, countdown::kBeepDurationMs);
        m_state.m_bVisible = true;
        m_host.ShowWindow();
        m_host.LoadIconRange(countdown::kAlarmFirstIcon, countdown::kAlarmLastIcon);
        m_host.StartCycle(countdown::kAlarmMsPerFrame, countdown::kAlarmSeconds);
    }
    m_state.m_strDisplay = FormatTimeLeft(daysLeft, m_state.m_nDisplayPeriod);
    m_host.ExchangeOut();
    m_host.ChangeTip(m_state.m_strDisplay);
}

} // namespace vostrel
