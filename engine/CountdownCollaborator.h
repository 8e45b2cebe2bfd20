#pragma once

#include <string>

namespace vostrel {

class Clock;

// What the countdown needs from the window, the tray icon and the speaker:
// the countdown dialog implements it; tests record the calls.
class CountdownCollaborator {
public:
    virtual ~CountdownCollaborator() = default;

    virtual void ExchangeIn() = 0;  // controls -> fields
    virtual void ExchangeOut() = 0; // fields -> controls
    virtual void Beep(unsigned frequencyHz, unsigned durationMs) = 0;
    virtual void ShowWindow() = 0;
    virtual void ChangeTip(const std::string& tip) = 0;
    virtual void LoadIconRange(unsigned firstId, unsigned lastId) = 0;
    virtual void StartCycle(unsigned msPerFrame, unsigned seconds) = 0;
    virtual const Clock& GetClock() const = 0;
};

} // namespace vostrel
