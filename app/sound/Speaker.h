#pragma once

namespace vostrel {

// Plays the alarm's beep.
class Speaker {
public:
    virtual ~Speaker() = default;
    virtual void Beep(unsigned frequencyHz, unsigned durationMs) = 0;
};

} // namespace vostrel
