#pragma once

#include "engine/OleDate.h"

#include <cstdint>
#include <string>

namespace vostrel {

// Display units, as the unit radio group numbers them.
enum DisplayUnit : std::int32_t { unitDays, unitHours, unitMinutes, unitSeconds, unitHms };

// The countdown fields of the countdown dialog, bound to its controls.
struct CountdownState {
    std::string m_strEndDate;          // the target as typed: a date or "+H:MM"
    std::string m_strVacDays;          // vacation days per year, at most 2 characters
    std::int32_t m_nDisplayPeriod = 0; // 0 days, 1 hours, 2 minutes, 3 seconds, 4 H:M:S
    std::string m_strDisplay;          // the time left, formatted
    double m_dVacAdjust = 0.0;         // days taken off the target for vacation
    OleDate m_EndTime;                 // the effective end moment
    bool m_bVisible = false;           // whether the window is to be shown
};

} // namespace vostrel
