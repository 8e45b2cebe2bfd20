#pragma once

#include "engine/OleDate.h"

namespace vostrel {

// Source of the current moment. Production reads the system clock; tests
// set whatever moment they need.
class Clock {
public:
    virtual ~Clock() = default;
    // The present local date and time in whole seconds, status valid.
    virtual OleDate Now() const = 0;
    // How far the current second has run, 0..999 milliseconds.
    virtual int MillisecondsIntoSecond() const { return 0; }
};

// The wait from now until just after the next wall-clock second begins, so
// that a tick then reads the new second: the rest of this second plus a
// small margin against timers that fire a little late or early.
constexpr int MillisecondsToNextSecond(int millisecondsIntoSecond, int margin = 5)
{
    return 1000 - millisecondsIntoSecond % 1000 + margin;
}

} // namespace vostrel
