#pragma once

#include "NotifyIconData.h"

namespace vostrel {

// The desktop's notification area, as the tray icon speaks to it.
class NotifyArea {
public:
    virtual ~NotifyArea() = default;
    // Whether the desktop has a notification area at all.
    virtual bool IsAvailable() const = 0;
    // NIM_ADD shows the record's icon and tooltip and from then on sends
    // uCallbackMessage to hWnd for mouse events on it; NIM_MODIFY changes
    // the members named in uFlags; NIM_DELETE removes the icon. True on
    // success.
    virtual bool ShellNotifyIcon(std::uint32_t request, const NOTIFYICONDATA& record) = 0;
};

} // namespace vostrel
