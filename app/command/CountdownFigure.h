#pragma once

#include "app/command/RemoteState.h"
#include "engine/OleDate.h"

#include <cstdint>
#include <string>

namespace vostrel {

class Clock;
class ProfileStore;

// The countdown as scripts and status bars read it: the effective end
// moment (the vacation rule applied) and the display unit, whose time left
// at any moment is the tray icon's tooltip then.
struct CountdownFigure {
    OleDate end;
    std::int32_t unit = 0;

    // The saved settings run through the countdown as the window runs them
    // at its start, as they would show in a copy started now.
    static CountdownFigure FromSettings(ProfileStore& store, const Clock& clock);
    // A running copy's countdown.
    static CountdownFigure FromState(const RemoteState& state);

    // The time left at that moment: the tooltip's text without its padding.
    std::string Text(const OleDate& now) const;
    // The time left at that moment as one line of JSON: "text", "tooltip",
    // "class" (counting or expired), "alt" (the unit), "seconds" (whole
    // seconds left, negative past the end) and "end" (ISO 8601, local time
    // with its offset).
    std::string Json(const OleDate& now) const;
    bool Expired(const OleDate& now) const;
};

// The unit's short name on the command line and in JSON ("D", "H", "M", "S",
// "HMS"); empty for a value that names no unit.
std::string UnitName(std::int32_t unit);

} // namespace vostrel
