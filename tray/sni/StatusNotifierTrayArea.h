#pragma once

#include "tray/area/MenuLookup.h"
#include "tray/area/TrayArea.h"
#include "tray/area/TrayRecord.h"
#include "tray/sni/SniPixmapCache.h"

#include <QObject>

#include <map>
#include <memory>

namespace vostrel {

// The notification area as StatusNotifierItem hosts show it (KDE Plasma,
// GNOME's AppIndicator extension, Xfce, waybar): an item on the session bus
// for each icon, with the icon's menu as com.canonical.dbusmenu. A host's
// primary gesture comes back to the record's window as the left double
// click it stands for, its request for the context menu as the right click,
// and a choice from its own menu as the entry's command message.
class StatusNotifierTrayArea final : public QObject, public TrayArea {
public:
    // With hostPresent false, icons register with the watcher only once
    // HostPresent is called.
    explicit StatusNotifierTrayArea(MenuLookup menus = res::FindMenu, bool hostPresent = true);
    ~StatusNotifierTrayArea() override;

    bool IsAvailable() const override;
    bool ShellNotifyIcon(std::uint32_t request, const NOTIFYICONDATA& record) override;
    void SetAttention(const NOTIFYICONDATA& record, bool attention) override;
    std::optional<QPoint> EventPosition() const override { return m_eventPosition; }

    // The watcher has a host: every icon registers with it, again if it
    // had; a watcher that starts anew knows none.
    void HostPresent();
    // A new watcher whose hosts are not known yet.
    void WaitForHost() { m_hostPresent = false; }

private:
    struct Icon;

    bool Add(const NOTIFYICONDATA& record);
    void SendMouse(const NotifyKey& key, std::uint32_t mouse, std::optional<QPoint> at);
    void SendCommand(const NotifyKey& key, unsigned command);
    void RegisterAll() const;

    MenuLookup m_menus;
    SniPixmapCache m_pixmaps;
    std::map<NotifyKey, std::unique_ptr<Icon>> m_icons;
    std::optional<QPoint> m_eventPosition;
    bool m_hostPresent;
};

} // namespace vostrel
