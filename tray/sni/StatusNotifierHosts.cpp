#include "tray/sni/StatusNotifierHosts.h"

#include "tray/sni/WatcherAddress.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace vostrel {
StatusNotifierHosts::StatusNotifierHosts(const QDBusConnection& bus) : m_bus(bus)
{
    m_bus.connect(kWatcherName, kWatcherPath, kWatcherName, QStringLiteral("StatusNotifierHostRegistered"),
                  this, SLOT(HostsChanged()));
}

void StatusNotifierHosts::Ask()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcherName, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kWatcherName << QStringLiteral("IsStatusNotifierHostRegistered");
    // Not waited for: the watcher may be slow, and the program goes on.
    auto* answer = new QDBusPendingCallWatcher(m_bus.asyncCall(get), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        const QDBusPendingReply<QDBusVariant> reply = *call;
        call->deleteLater();
        if (reply.isError() || reply.value().variant().toBool())
            emit HostPresent();
    });
}

} // namespace vostrel
