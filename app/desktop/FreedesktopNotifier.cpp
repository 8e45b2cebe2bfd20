#include "app/desktop/FreedesktopNotifier.h"

#include "resources/DesktopId.h"

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
const QString kDesktopEntry = QString::fromLatin1(res::kDesktopId);
const QString kDefaultAction = QStringLiteral("default");
constexpr uchar kCriticalUrgency = 2;
// How long a server may take to answer: a notification server started on
// demand takes a moment, and a program that ends waits at most this long.
constexpr int kAnswerMs = 5000;

QDBusMessage Call(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

} // namespace

FreedesktopNotifier::FreedesktopNotifier(std::function<void()> onActivated)
    : m_onActivated(std::move(onActivated))
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                SLOT(OnActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                SLOT(OnNotificationClosed(uint, uint)));
}

FreedesktopNotifier::~FreedesktopNotifier()
{
    // A notification must not outlive the program its action would reach.
    // Everything is waited for here: the process may end as soon as this
    // returns, and with it the calls still on their way.
    if (m_waiting) {
        m_waiting->disconnect(this);
        // Reading the reply waits for it.
        const QDBusPendingReply<uint> reply = *m_waiting;
        if (!reply.isError())
            m_id = reply.value();
    }
    if (m_id == 0)
        return;
    QDBusMessage close = Call(QStringLiteral("CloseNotification"));
    close << m_id;
    QDBusConnection::sessionBus().call(close, QDBus::Block, kAnswerMs);
}

void FreedesktopNotifier::Notify(const QString& summary, const QString& body)
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
    m_waiting = new QDBusPendingCallWatcher(bus.asyncCall(notify, kAnswerMs), this);
    connect(m_waiting, &QDBusPendingCallWatcher::finished, this, &FreedesktopNotifier::OnNotifyAnswered);
}

void FreedesktopNotifier::OnNotifyAnswered(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    if (call == m_waiting)
        m_waiting = nullptr;
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError())
        return;
    m_id = reply.value();
    if (m_closeWhenShown)
        Close();
}

void FreedesktopNotifier::Close()
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

void FreedesktopNotifier::OnActionInvoked(uint id, const QString& action)
{
    if (id != 0 && id == m_id && action == kDefaultAction && m_onActivated)
        m_onActivated();
}

void FreedesktopNotifier::OnNotificationClosed(uint id, uint)
{
    if (id == m_id)
        m_id = 0;
}

} // namespace vostrel
