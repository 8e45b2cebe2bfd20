#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <vector>

namespace vostrel::test {

// A desktop notification server of the tests' own: owns
// org.freedesktop.Notifications on a connection of its own, records what it
// is asked, and invokes actions when told to.
class FakeNotificationServer final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notification {
        uint id;
        QString appName;
        uint replacesId;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int expireTimeout;
    };

    explicit FakeNotificationServer(QDBusConnection bus) : m_bus(bus)
    {
        m_bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                             QDBusConnection::ExportAllSlots);
        m_owned = m_bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }
    ~FakeNotificationServer() override
    {
        m_bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        m_bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    }

    bool Owned() const { return m_owned; }

    std::vector<Notification> notified;
    std::vector<uint> closed;

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout)
    {
        const uint id = replacesId != 0 ? replacesId : ++m_lastId;
        notified.push_back({id, appName, replacesId, appIcon, summary, body, actions, hints, expireTimeout});
        emit changed();
        return id;
    }
    void CloseNotification(uint id)
    {
        closed.push_back(id);
        Emit(QStringLiteral("NotificationClosed"), {id, 3u});
        emit changed();
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion)
    {
        vendor = QStringLiteral("test");
        version = QStringLiteral("1");
        specVersion = QStringLiteral("1.2");
        return QStringLiteral("test notifications");
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
        QDBusMessage signal =
            QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                       QStringLiteral("org.freedesktop.Notifications"), name);
        signal.setArguments(arguments);
        m_bus.send(signal);
    }

    QDBusConnection m_bus;
    bool m_owned = false;
    uint m_lastId = 0;
};

} // namespace vostrel::test
