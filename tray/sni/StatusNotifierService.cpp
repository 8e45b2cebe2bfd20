#include "tray/sni/StatusNotifierService.h"

#include "tray/sni/WatcherAddress.h"

#include <QCoreApplication>
#include <QDBusMessage>

namespace vostrel {
namespace {

constexpr qint64 kMinuteMs = 60'000;

// Numbers the icons of this process, for their names and connections.
int NextNumber()
{
    static int last = 0;
    return ++last;
}

} // namespace

StatusNotifierService::StatusNotifierService()
    : m_number(NextNumber()), m_connectionName(QStringLiteral("vostrel-tray-%1").arg(m_number)),
      m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName)),
      m_name(QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
                 .arg(QCoreApplication::applicationPid())
                 .arg(m_number))
{
    m_clock.start();
    m_bus.connect(kWatcherName, kWatcherPath, kWatcherName, QStringLiteral("StatusNotifierItemUnregistered"),
                  this, SLOT(ItemUnregistered(QString)));
}

StatusNotifierService::~StatusNotifierService()
{
    // Hosts drop the item as soon as its name goes.
    m_bus.unregisterService(m_name);
    m_bus.unregisterObject(QString::fromLatin1(kItemPath));
    m_bus.unregisterObject(QString::fromLatin1(kMenuPath));
    QDBusConnection::disconnectFromBus(m_connectionName);
}

bool StatusNotifierService::Publish(QObject& item, QObject& menu)
{
    constexpr auto kExports = QDBusConnection::ExportScriptableContents;
    return m_bus.isConnected() && m_bus.registerObject(QString::fromLatin1(kItemPath), &item, kExports) &&
           m_bus.registerObject(QString::fromLatin1(kMenuPath), &menu, kExports) &&
           m_bus.registerService(m_name);
}

void StatusNotifierService::RegisterWithWatcher()
{
    // A watcher that has just come, or a host that has just appeared,
    // deserves every renewal again.
    m_renewals.clear();
    SendRegistration();
}

void StatusNotifierService::SendRegistration() const
{
    QDBusMessage call = QDBusMessage::createMethodCall(kWatcherName, kWatcherPath, kWatcherName,
                                                       QStringLiteral("RegisterStatusNotifierItem"));
    // By the object's path: the watcher then knows the item by the
    // connection's unique name. GNOME's extension watches a well-known
    // name besides, and that watch races with its first reading of the
    // item: on a busy machine it drops the item at nearly every try.
    call << QString::fromLatin1(kItemPath);
    // Not waited for: nothing follows from the answer.
    m_bus.send(call);
}

bool StatusNotifierService::IsThisItem(const QString& item) const
{
    const QString path = QString::fromLatin1(kItemPath);
    for (const QString& name : {m_name, m_bus.baseService()}) {
        // KDE's watcher names an item "name/path", GNOME's "name@path" or
        // the bare name, waybar's the bare name.
        if (item == name || item == name + path || item == name + QLatin1Char('@') + path)
            return true;
    }
    return false;
}

void StatusNotifierService::ItemUnregistered(const QString& item)
{
    // GNOME's AppIndicator extension sometimes fails to take an item in and
    // drops it while the item is still on the bus: the icon is gone until
    // the item registers again.
    if (!IsThisItem(item))
        return;
    const qint64 now = m_clock.elapsed();
    m_renewals.removeIf([now](qint64 at) { return now - at >= kMinuteMs; });
    if (m_renewals.size() >= kRenewalsPerMinute)
        return;
    m_renewals.append(now);
    SendRegistration();
}

} // namespace vostrel
