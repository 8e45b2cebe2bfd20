#pragma once

#include "engine/Clock.h"

namespace vostrel::test {

// A clock that shows whatever moment the test sets, down to how far into its second it is.
struct FixedClock final : Clock {
    explicit FixedClock(OleDate moment = {}) : now(moment) {}
    OleDate Now() const override { return now; }
    int MillisecondsIntoSecond() const override { return milliseconds; }
    OleDate now;
    int milliseconds = 0;
};

inline OleDate At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return OleDate::FromFields({year, month, day, hour, minute, second});
}

} // namespace vostrel::test
