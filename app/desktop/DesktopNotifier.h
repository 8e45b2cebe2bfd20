#pragma once

#include <QString>

namespace vostrel {

// Tells the user of something outside the program's own windows: a desktop
// notification. Acting on it is the owner's business (see the
// implementation's constructor).
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;
    // Shows a notification, in place of any this notifier still shows.
    virtual void Notify(const QString& summary, const QString& body) = 0;
    // Takes the notification away, if one shows.
    virtual void Close() = 0;
};

} // namespace vostrel
