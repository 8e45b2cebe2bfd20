#pragma once

#include "engine/Clock.h"
#include "engine/CountdownCollaborator.h"
#include "engine/CountdownState.h"
#include "engine/OleDate.h"

#include <string_view>

namespace vostrel {

namespace countdown {
constexpr double kVacationThreshold = 0.99;      // vacation counts from one whole day
constexpr double kNonWorkingDaysPerYear = 116.0; // 104 weekend days and 12 holidays
constexpr double kYearsPerDay = 1.0 / 365.25;
constexpr unsigned kBeepFrequencyHz = 1000;
constexpr unsigned kBeepDurationMs = 10;
constexpr unsigned kAlarmFirstIcon = 132;
constexpr unsigned kAlarmLastIcon = 133;
constexpr unsigned kAlarmMsPerFrame = 100;
constexpr unsigned kAlarmSeconds = 1;
} // namespace countdown

// Whether a target reads as the window would take it: a date, a date with
// a time, or an interval after a "+" (the character before the interval,
// whatever it is, is dropped as ResolveTarget drops it).
bool IsReadableTarget(std::string_view target, const Clock& clock);

// Turns the target text, the vacation days and the current moment into the
// effective end moment, the time-left text and the expiry alarm. The three
// steps always chain forwards: ComputeVacationAdjust -> ResolveTarget ->
// RefreshDisplay, and each may be entered directly.
class CountdownEngine {
public:
    CountdownEngine(CountdownState& state, CountdownCollaborator& collaborator)
        : m_state(state), m_host(collaborator)
    {
    }

    // Works out how many days vacation and non-working days take off the
    // target, then resolves the target.
    void ComputeVacationAdjust();
    // Turns a "+H:MM" interval into an absolute moment, sets the end moment
    // from the target less the vacation adjustment, then refreshes.
    void ResolveTarget();
    // Shows the time left in the chosen unit and raises the alarm once the
    // end has passed.
    void RefreshDisplay();

private:
    OleDate Now() const { return m_host.GetClock().Now(); }

    CountdownState& m_state;
    CountdownCollaborator& m_host;
};

} // namespace vostrel
