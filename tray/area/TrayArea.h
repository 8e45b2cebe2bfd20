#pragma once

#include "tray/area/NotifyIconData.h"

#include <QPoint>

#include <optional>

namespace vostrel {

// The desktop's notification area, as the tray icon speaks to it.
class TrayArea {
public:
    virtual ~TrayArea() = default;
    // Whether the desktop has a notification area at all.
    virtual bool IsAvailable() const = 0;
    // NIM_ADD shows the record's icon and tooltip and from then on sends
    // uCallbackMessage to hWnd for mouse events on it; NIM_MODIFY changes
    // the members named in uFlags; NIM_DELETE removes the icon. True on
    // success.
    virtual bool ShellNotifyIcon(std::uint32_t request, const NOTIFYICONDATA& record) = 0;
    // Says that the record's icon calls for the user's attention (its alarm
    // runs) or no longer does. Areas that cannot show it ignore it.
    virtual void SetAttention(const NOTIFYICONDATA&, bool) {}
    // While a mouse message is being delivered: the screen point where the
    // desktop says the event happened, when it says so; otherwise none, and
    // only the pointer's position can tell.
    virtual std::optional<QPoint> EventPosition() const { return std::nullopt; }
};

} // namespace vostrel
