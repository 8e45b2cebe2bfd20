#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <vector>

namespace vostrel::test {

// A desktop notification server of the tests' own: owns org.freedesktop.Notifications on a connection of its
// own, records what it is asked, and invokes actions when told to.
class FakeNotificationServer final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notification {
        uint id;
        QString appName, appIcon, summary, body;
        QStringList actions;
        QVariantMap hints;
    };

    explicit FakeNotificationServer(QDBusConnection bus) : m_bus(bus)
    {
        m_bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots);
        owned = m_bus.registerService(kName);
    }
    ~FakeNotificationServer() override
    {
        m_bus.unregisterService(kName);
        m_bus.unregisterObject(kPath);
    }

    bool owned = false; // whether it has the well-known name
    std::vector<Notification> notified;
    std::vector<uint> closed;

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int)
    {
        const uint id = replacesId != 0 ? replacesId : ++m_lastId;
        notified.push_back({id, appName, appIcon, summary, body, actions, hints});
        emit changed();
        return id;
    }
    void CloseNotification(uint id)
    {
        closed.push_back(id);
        Emit(QStringLiteral("NotificationClosed"), {id, 3u});
        emit changed();
    }
    // Not part of the protocol: what a user's click on a notification does.
    void InvokeAction(uint id, const QString& action)
    {
        Emit(QStringLiteral("ActionInvoked"), {id, action});
        Emit(QStringLiteral("NotificationClosed"), {id, 2u});
    }

signals:
    void changed();

private:
    void Emit(const QString& name, const QVariantList& arguments)
    {
        QDBusMessage signal = QDBusMessage::createSignal(kPath, kName, name);
        signal.setArguments(arguments);
        m_bus.send(signal);
    }

    static inline const QString kName = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
    QDBusConnection m_bus;
    uint m_lastId = 0;
};

} // namespace vostrel::test
