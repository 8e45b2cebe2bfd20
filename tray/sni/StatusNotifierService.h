#pragma once

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>

namespace vostrel {

// Where hosts find one tray icon on the session bus: a connection of its
// own (the item's object path is fixed, so two icons cannot share one), the
// name org.kde.StatusNotifierItem-<pid>-<n> (for hosts that look for items
// by it), the item and its menu exported under it, and its registration
// with the StatusNotifierWatcher, renewed when the watcher drops the item
// while it is still here.
class StatusNotifierService final : public QObject {
    Q_OBJECT
public:
    static constexpr char kItemPath[] = "/StatusNotifierItem";
    static constexpr char kMenuPath[] = "/MenuBar";
    // A watcher that keeps dropping the item is answered this many times a
    // minute at most.
    static constexpr int kRenewalsPerMinute = 3;

    StatusNotifierService();
    ~StatusNotifierService() override;

    const QDBusConnection& Bus() const { return m_bus; }
    // Exports the item and the menu and takes the name; false when the bus
    // refuses any of it.
    bool Publish(QObject& item, QObject& menu);
    // Tells the watcher of the item; a watcher that starts anew must be told again.
    void RegisterWithWatcher();

private slots:
    // The watcher's announcement that it no longer shows an item.
    void ItemUnregistered(const QString& item);

private:
    // Whether the watcher's name for an item is this one: the bus name, the
    // connection's unique name, either followed by the object's path.
    bool IsThisItem(const QString& item) const;
    void SendRegistration() const;

    int m_number;
    QString m_connectionName;
    QDBusConnection m_bus;
    QString m_name;
    QElapsedTimer m_clock;
    QList<qint64> m_renewals; // when drops were answered, by m_clock
};

} // namespace vostrel
