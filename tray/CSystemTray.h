#pragma once

#include "Icons.h"

#include <string>

class QWidget;

namespace vostrel {

// One icon in the notification area: its picture, its tooltip, its popup
// menu and its default command, and a timed animation of the picture.
// Until the notification area is reached, the icon is never in the tray:
// every operation on it does nothing and reports failure.
class CSystemTray {
public:
    bool AddToTray(QWidget* parent, unsigned callbackMessage, const std::string& tip, res::IconHandle icon,
                   unsigned id);
    void DeleteFromTray() {}
    bool ChangeIcon(res::IconHandle icon);
    bool ChangeTip(const std::string& tip);
    res::IconHandle CurrentIcon() const { return 0; }
    bool SetDefaultEntry(unsigned entry, bool byPosition);
    bool LoadIconRange(unsigned firstId, unsigned lastId);
    bool StartCycle(unsigned msPerFrame, unsigned seconds);
};

} // namespace vostrel
