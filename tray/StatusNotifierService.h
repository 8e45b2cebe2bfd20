#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace vostrel {

// Where hosts find one tray icon on the session bus: a connection of its
// own (the item's object path is fixed, so two icons cannot share one), the
// name org.kde.StatusNotifierItem-<pid>-<n>, the item and its menu exported
// under it, and its registration with the StatusNotifierWatcher.
class StatusNotifierService {
public:
    static constexpr char kItemPath[] = "/StatusNotifierItem";
    static constexpr char kMenuPath[] = "/MenuBar";

    StatusNotifierService();
    ~StatusNotifierService();
    StatusNotifierService(const StatusNotifierService&) = delete;
    StatusNotifierService& operator=(const StatusNotifierService&) = delete;

    const QDBusConnection& Bus() const { return m_bus; }
    // Exports the item and the menu and takes the name; false when the bus
    // refuses any of it.
    bool Publish(QObject& item, QObject& menu);
    // Tells the watcher the name; a watcher that starts anew must be told again.
    void RegisterWithWatcher() const;

private:
    int m_number;
    QString m_connectionName;
    QDBusConnection m_bus;
    QString m_name;
};

} // namespace vostrel
