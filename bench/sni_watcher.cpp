// A StatusNotifierWatcher for the comparison benchmarks (bench/compare.sh).
// It takes items in as a panel's watcher does and says that a host is
// there, so that Qt's own tray icons speak StatusNotifierItem too. For each
// registration it prints "pid nanoseconds unique-name": the registering
// program's process, the wall-clock time the call came in, and the
// program's connection, so that a start-up is timed from outside without
// polling the program, and its messages can be counted.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>

#include <chrono>
#include <cstdio>

class Watcher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ Items)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)
    Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)

public:
    explicit Watcher(const QDBusConnection& bus) : m_bus(bus)
    {
        m_owners.setConnection(m_bus);
        m_owners.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
        connect(&m_owners, &QDBusServiceWatcher::serviceUnregistered, this, &Watcher::Gone);
    }

    QStringList Items() const { return m_items; }
    bool HostRegistered() const { return true; }
    int ProtocolVersion() const { return 0; }

public slots:
    void RegisterStatusNotifierItem(const QString& serviceOrPath, const QDBusMessage& message)
    {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        const QString sender = message.service();
        // Items name their bus name, or only their object path.
        const QString item = serviceOrPath.startsWith(u'/')
                                 ? sender + serviceOrPath
                                 : serviceOrPath + QStringLiteral("/StatusNotifierItem");
        if (!m_items.contains(item)) {
            m_items.append(item);
            m_senderOf.insert(item, sender);
            m_owners.addWatchedService(sender);
            emit StatusNotifierItemRegistered(item);
        }
        const uint pid = m_bus.interface()->servicePid(sender);
        std::printf("%u %lld %s\n", pid,
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                    qPrintable(sender));
        std::fflush(stdout);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& item);
    void StatusNotifierItemUnregistered(const QString& item);
    void StatusNotifierHostRegistered();

private:
    void Gone(const QString& sender)
    {
        for (const QString& item : QStringList(m_items)) {
            if (m_senderOf.value(item) == sender) {
                m_items.removeAll(item);
                m_senderOf.remove(item);
                emit StatusNotifierItemUnregistered(item);
            }
        }
        m_owners.removeWatchedService(sender);
    }

    QDBusConnection m_bus;
    QDBusServiceWatcher m_owners;
    QStringList m_items;
    QHash<QString, QString> m_senderOf; // item -> the connection that registered it
};

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Watcher watcher(bus);
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                QDBusConnection::ExportAllProperties) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        std::fprintf(stderr, "sni_watcher: cannot take the watcher's name\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return application.exec();
}

#include "sni_watcher.moc"
