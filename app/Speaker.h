#pragma once

namespace vostrel {

// Plays the alarm's beep.
class Speaker {
public:
    virtual ~Speaker() = default;
    virtual void Beep(unsigned frequencyHz, unsigned durationMs) = 0;
};

// The desktop's bell: it has no pitch or length of its own.
class DesktopBell final : public Speaker {
public:
    void Beep(unsigned frequencyHz, unsigned durationMs) override;
};

} // namespace vostrel
