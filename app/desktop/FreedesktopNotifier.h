#pragma once

#include "app/desktop/DesktopNotifier.h"

#include <QObject>

#include <functional>

class QDBusPendingCallWatcher;

namespace vostrel {

// Notifications through the desktop's notification server
// (org.freedesktop.Notifications on the session bus): urgent, with the
// application's icon and desktop entry and one default action. Every call
// is asynchronous: without a bus or a server nothing happens and nothing
// waits, but for the end: a notification still shown goes with the object.
class FreedesktopNotifier final : public QObject, public DesktopNotifier {
    Q_OBJECT
public:
    // onActivated runs when the user activates a notification of ours.
    explicit FreedesktopNotifier(std::function<void()> onActivated);
    ~FreedesktopNotifier() override;

    void Notify(const QString& summary, const QString& body) override;
    void Close() override;

private slots:
    void OnActionInvoked(uint id, const QString& action);
    void OnNotificationClosed(uint id, uint reason);

private:
    void OnNotifyAnswered(QDBusPendingCallWatcher* call);

    std::function<void()> m_onActivated;
    QDBusPendingCallWatcher* m_waiting = nullptr; // the last notification asked for, until answered
    uint m_id = 0;                                // the notification the server shows for us, 0 for none
    bool m_closeWhenShown = false;                // closed before the server said which one is ours
};

} // namespace vostrel
