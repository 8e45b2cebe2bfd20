#include "TrayTestSupport.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCall>
#include <QTest>

namespace vostrel::test {
namespace {

constexpr int kPatienceMs = 5000;
const QString kWatcherName = QStringLiteral("org.kde.StatusNotifierWatcher");

// A round trip to the bus daemon: whatever this connection sent before,
// match rules included, has been taken in when it returns.
void Sync()
{
    DesktopBus().interface()->isServiceRegistered(kWatcherName);
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, kPatienceMs);
}

QDBusConnection DesktopBus()
{
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("desktop"));
}

QDBusMessage Call(const QString& service, const QString& path, const QString& interface,
                  const QString& method, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(arguments);
    QDBusPendingCall pending = DesktopBus().asyncCall(call, kPatienceMs);
    const bool answered = QTest::qWaitFor([&pending] { return pending.isFinished(); }, kPatienceMs + 1000);
    return answered ? pending.reply()
                    : call.createErrorReply(QDBusError::Timeout, QStringLiteral("no answer"));
}

QVariantMap Properties(const QString& service, const QString& path, const QString& interface)
{
    const QDBusMessage reply = Call(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("GetAll"), {interface});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QVariantMap>(reply.arguments().constFirst());
}

TestWatcher::TestWatcher(std::function<void(const QString&)> onRegister, bool hostRegistered)
    : hostRegistered(hostRegistered), m_onRegister(std::move(onRegister))
{
    DesktopBus().registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                                QDBusConnection::ExportScriptableSlots |
                                    QDBusConnection::ExportScriptableSignals |
                                    QDBusConnection::ExportAllProperties);
    DesktopBus().registerService(kWatcherName);
}

TestWatcher::~TestWatcher()
{
    DesktopBus().unregisterService(kWatcherName);
    DesktopBus().unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
}

void TestWatcher::RegisterHost()
{
    hostRegistered = true;
    emit StatusNotifierHostRegistered();
}

void TestWatcher::RegisterStatusNotifierItem(const QString& service)
{
    registered.append(service);
    if (m_onRegister)
        m_onRegister(service);
}

SignalLog::SignalLog(const QString& service)
{
    const std::pair<const char*, QStringList> kSignals[] = {
        {"org.kde.StatusNotifierItem",
         {"NewIcon", "NewAttentionIcon", "NewOverlayIcon", "NewToolTip", "NewTitle", "NewStatus",
          "XAyatanaNewLabel"}},
        {"org.freedesktop.DBus.Properties", {"PropertiesChanged"}},
        {"com.canonical.dbusmenu", {"LayoutUpdated", "ItemsPropertiesUpdated", "ItemActivationRequested"}},
    };
    for (const auto& [interface, names] : kSignals) {
        for (const QString& name : names)
            DesktopBus().connect(service, QString(), QString::fromLatin1(interface), name, this,
                                 SLOT(Heard(QDBusMessage)));
    }
    Sync();
}

QStringList SignalLog::Names() const
{
    QStringList names;
    for (const QDBusMessage& message : messages)
        names.append(message.member());
    return names;
}

} // namespace vostrel::test
