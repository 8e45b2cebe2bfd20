#include "StatusNotifierService.h"

#include <QCoreApplication>
#include <QDBusMessage>

namespace vostrel {
namespace {

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

void StatusNotifierService::RegisterWithWatcher() const
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("RegisterStatusNotifierItem"));
    call << m_name;
    // Not waited for: nothing follows from the answer.
    m_bus.send(call);
}

} // namespace vostrel
