#pragma once

#include <QDBusConnection>
#include <QObject>

namespace vostrel {

// Whether the StatusNotifierWatcher has a host that shows items. An item
// that registers while the host is still starting can be lost: waybar
// starts its tray host after its watcher, and drops items registered in
// between. So items register once the watcher says a host is there, or
// once one registers with it.
class StatusNotifierHosts final : public QObject {
    Q_OBJECT
public:
    explicit StatusNotifierHosts(const QDBusConnection& bus);

    // Asks the watcher now running; HostPresent follows when it says yes,
    // or cannot say (a watcher without the property).
    void Ask();

signals:
    void HostPresent();

private slots:
    // The watcher's signal: a host came, or the last one went.
    void HostsChanged() { Ask(); }

private:
    QDBusConnection m_bus;
};

} // namespace vostrel
