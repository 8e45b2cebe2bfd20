#pragma once

#include "OleDate.h"

namespace vostrel {

// Source of the current moment. Production reads the system clock; tests
// set whatever moment they need.
class Clock {
public:
    virtual ~Clock() = default;
    // The present local date and time in whole seconds, status valid.
    virtual OleDate Now() const = 0;
};

// The local wall-clock time of this machine.
class SystemClock final : public Clock {
public:
    OleDate Now() const override;
};

} // namespace vostrel
