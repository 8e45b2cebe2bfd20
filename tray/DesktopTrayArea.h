#pragma once

#include "tray/area/MenuLookup.h"
#include "tray/area/TrayArea.h"
#include "tray/area/TrayRecord.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>

#include <functional>
#include <map>
#include <memory>

namespace vostrel {

class StatusNotifierTrayArea;
class StatusNotifierHosts;

// The notification area of whatever tray host the desktop runs. With a
// StatusNotifierWatcher on the session bus the icons are StatusNotifier
// items; without one, on X11, XEmbed icons through Qt; elsewhere they wait
// for a watcher. The area follows the watcher as it comes, restarts and
// goes, and moves the icons with their current picture, tip and attention:
// each leaves one host before it joins the other, so none shows twice.
class DesktopTrayArea final : public QObject, public TrayArea {
public:
    using AreaFactory = std::function<std::unique_ptr<TrayArea>()>;

    // The XEmbed area on X11; none elsewhere.
    static std::unique_ptr<TrayArea> XEmbedWhereAvailable();

    explicit DesktopTrayArea(AreaFactory xembed = XEmbedWhereAvailable, MenuLookup menus = res::FindMenu);
    ~DesktopTrayArea() override;

    // With a session bus a watcher may come at any time; without one, only
    // XEmbed can show the icons.
    bool IsAvailable() const override;
    bool ShellNotifyIcon(std::uint32_t request, const NOTIFYICONDATA& record) override;
    void SetAttention(const NOTIFYICONDATA& record, bool attention) override;
    std::optional<QPoint> EventPosition() const override;

private:
    struct Icon {
        NOTIFYICONDATA record;
        bool attention = false;
    };

    TrayArea* Current() const;
    void WatcherOwnerChanged(const QString& newOwner);
    void UseStatusNotifier();
    void UseXEmbed();
    // Takes every icon from the current area and drops the area.
    void Withdraw();
    // Gives every icon, as it is now, to a new area.
    void Restore(TrayArea& area);

    AreaFactory m_makeXEmbed;
    MenuLookup m_menus;
    QDBusConnection m_bus;
    QDBusServiceWatcher m_watcher;
    std::map<NotifyKey, Icon> m_icons;
    std::unique_ptr<StatusNotifierHosts> m_hosts;
    std::unique_ptr<StatusNotifierTrayArea> m_statusNotifier;
    std::unique_ptr<TrayArea> m_xembed;
};

} // namespace vostrel
