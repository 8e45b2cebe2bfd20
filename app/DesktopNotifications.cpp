#include "DesktopNotifications.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace vostrel {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDesktopEntry = QStringLiteral("io.pelmark.Vostrel");
const QString kDefaultAction = QStringLiteral("default");
constexpr uchar kCriticalUrgency = 2;

QDBusMessage Call(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

} // namespace

DesktopNotifications::DesktopNotifications(std::function<void()> onActivated)
    : m_onActivated(std::move(onActivated))
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                SLOT(OnActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                SLOT(OnNotificationClosed(uint, uint)));
}

DesktopNotifications::~DesktopNotifications() = default;

void DesktopNotifications::Notify(const QString& summary, const QString& body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage notify = Call(QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(kCriticalUrgency)},
                            {QStringLiteral("desktop-entry"), kDesktopEntry}};
    notify << QCoreApplication::applicationName() << m_id << kDesktopEntry << summary << body
           << QStringList{kDefaultAction, QStringLiteral("Show")} << hints << -1;
    m_closeWhenShown = false;
    auto* answer = new QDBusPendingCallWatcher(bus.asyncCall(notify), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, &DesktopNotifications::OnNotifyAnswered);
}

void DesktopNotifications::OnNotifyAnswered(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError())
        return;
    m_id = reply.value();
    if (m_closeWhenShown)
        Close();
}

void DesktopNotifications::Close()
{
    if (m_id == 0) {
        m_closeWhenShown = true;
        return;
    }
    QDBusMessage close = Call(QStringLiteral("CloseNotification"));
    close << m_id;
    QDBusConnection::sessionBus().asyncCall(close);
    m_id = 0;
}

void DesktopNotifications::OnActionInvoked(uint id, const QString& action)
{
    if (id != 0 && id == m_id && action == kDefaultAction && m_onActivated)
        m_onActivated();
}

void DesktopNotifications::OnNotificationClosed(uint id, uint)
{
    if (id == m_id)
        m_id = 0;
}

} // namespace vostrel
