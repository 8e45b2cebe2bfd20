#pragma once

#include "app/sound/Speaker.h"

namespace vostrel {

// The desktop's bell: it has no pitch or length of its own.
class DesktopBell final : public Speaker {
public:
    void Beep(unsigned frequencyHz, unsigned durationMs) override;
};

} // namespace vostrel
