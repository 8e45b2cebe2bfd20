#pragma once

#include "engine/Clock.h"

namespace vostrel {

// The local wall-clock time of this machine.
class SystemClock final : public Clock {
public:
    OleDate Now() const override;
    int MillisecondsIntoSecond() const override;
};

} // namespace vostrel
