#pragma once

#include "NotifyArea.h"
#include "NotifyRecord.h"
#include "PopupMenu.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>

#include <functional>
#include <map>
#include <memory>

namespace vostrel {

class StatusNotifierArea;
class StatusNotifierHosts;

// The notification area of whatever tray host the desktop runs. With a
// StatusNotifierWatcher on the session bus the icons are StatusNotifier
// items; without one, on X11, XEmbed icons through Qt; elsewhere they wait
// for a watcher. The area follows the watcher as it comes, restarts and
// goes, and moves the icons with their current picture, tip and attention:
// each leaves one host before it joins the other, so none shows twice.
class DesktopNotifyArea final : public QObject, public NotifyArea {
public:
    using AreaFactory = std::function<std::unique_ptr<NotifyArea>()>;

    // The XEmbed area on X11; none elsewhere.
    static std::unique_ptr<NotifyArea> XEmbedWhereAvailable();

    explicit DesktopNotifyArea(AreaFactory xembed = XEmbedWhereAvailable, MenuLookup menus = res::FindMenu);
    ~DesktopNotifyArea() override;

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

    NotifyArea* Current() const;
    void WatcherOwnerChanged(const QString& newOwner);
    void UseStatusNotifier();
    void UseXEmbed();
    // Takes every icon from the current area and drops the area.
    void Withdraw();
    // Gives every icon, as it is now, to a new area.
    void Restore(NotifyArea& area);

    AreaFactory m_makeXEmbed;
    MenuLookup m_menus;
    QDBusConnection m_bus;
    QDBusServiceWatcher m_watcher;
    std::map<NotifyKey, Icon> m_icons;
    std::unique_ptr<StatusNotifierHosts> m_hosts;
    std::unique_ptr<StatusNotifierArea> m_statusNotifier;
    std::unique_ptr<NotifyArea> m_xembed;
};

} // namespace vostrel
