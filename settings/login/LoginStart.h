#pragma once

#include <memory>

namespace vostrel {

// Whether the program starts by itself when the user logs in, and the
// switch for it: an XDG autostart entry on Linux desktops, a value of the
// per-user Run key on Windows.
class LoginStart {
public:
    virtual ~LoginStart() = default;

    virtual bool IsOn() const = 0;
    // False when the change could not be made.
    virtual bool SetOn(bool on) = 0;
};

// The switch for this executable, by its own path, for the user running it.
// Needs the application object.
std::unique_ptr<LoginStart> LoginStartForThisProgram();

} // namespace vostrel
