#pragma once

#include "app/framework/Application.h"
#include "resources/ResourceIds.h"
#include "tests/support/FixedClock.h"
#include "tests/support/Recorders.h"
#include "tray/SystemTray.h"

#include <QtDBus>
#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

namespace vostrel::test {

constexpr int kPatienceMs = 5000;

// A main window that records the commands it receives.
struct CommandRecorder final : CommandWindow {
    void SendCommand(unsigned id) override { commands.push_back(id); }
    QWidget* Widget() override { return &widget; }
    std::vector<unsigned> commands;
    QWidget widget;
};

// What a tray icon needs besides its notification area, and the icon, which
// each test's fixture makes on an area of its own.
class TrayFixture : public testing::Test {
protected:
    TrayFixture() { app.SetMainWnd(&mainWindow); }
    void TearDown() override { tray.reset(); } // before the area it uses goes
    BOOL Add(const std::string& tip = "Vostrel")
    {
        return tray->AddToTray(nullptr, kCallback, tip, res::IDI_STOPWATCH2, res::IDR_TRAYMENU);
    }

    static constexpr std::uint32_t kCallback = WM_USER + 10; // the icon's message to its window
    Application app;
    CommandRecorder mainWindow;
    FixedClock clock{At(2026, 12, 6, 10)};
    RecordingMessages messages;
    std::optional<CSystemTray> tray;
};

// Waits, a few seconds at most, for a condition; whether it came true.
inline bool WaitUntil(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, kPatienceMs);
}

// The desktop side's own connection. Calls from it to the program in this
// process must not block: the program answers from the event loop.
inline QDBusConnection DesktopBus()
{
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("desktop"));
}

// Calls a method from the desktop's side; the answer, or an error once a few seconds have passed without one.
inline QDBusMessage Call(const QString& service, const QString& path, const QString& interface,
                         const QString& method, const QVariantList& arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(arguments);
    QDBusPendingCall pending = DesktopBus().asyncCall(call, kPatienceMs);
    const bool answered = QTest::qWaitFor([&pending] { return pending.isFinished(); }, kPatienceMs + 1000);
    return answered ? pending.reply()
                    : call.createErrorReply(QDBusError::Timeout, QStringLiteral("no answer"));
}

// Every property of an interface of an object, as a host reads them.
inline QVariantMap Properties(const QString& service, const QString& path, const QString& interface)
{
    const QDBusMessage reply = Call(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("GetAll"), {interface});
    const bool answered = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
    return answered ? qdbus_cast<QVariantMap>(reply.arguments().constFirst()) : QVariantMap();
}

// The desktop's StatusNotifierWatcher while it lives, with a host that shows items.
class TestWatcher final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)
public:
    explicit TestWatcher(std::function<void(const QString&)> onRegister = [](const QString&) {})
        : m_onRegister(std::move(onRegister))
    {
        DesktopBus().registerObject(
            kPath, this, QDBusConnection::ExportScriptableContents | QDBusConnection::ExportAllProperties);
        DesktopBus().registerService(kName);
    }
    ~TestWatcher() override
    {
        DesktopBus().unregisterService(kName);
        DesktopBus().unregisterObject(kPath);
    }
    bool HostRegistered() const { return true; }
    // Says an item is gone, as a watcher does, naming it as it likes.
    void Dropped(const QString& item) const
    {
        DesktopBus().send(QDBusMessage::createSignal(kPath, kName, "StatusNotifierItemUnregistered") << item);
    }

    QStringList registered; // the bus names of the items registered, in order
    QStringList said;       // what the items said as they registered

public slots:
    // An item names its bus name, or its object's path on the connection that calls.
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString& item)
    {
        const QString service = item.startsWith(QLatin1Char('/')) ? message().service() : item;
        registered.append(service);
        said.append(item);
        m_onRegister(service);
    }

private:
    static inline const QString kName = QStringLiteral("org.kde.StatusNotifierWatcher");
    static inline const QString kPath = QStringLiteral("/StatusNotifierWatcher");
    std::function<void(const QString&)> m_onRegister;
};

// The signals an item's bus name sends, as hosts hear them: every signal of the tray's interfaces.
class SignalLog final : public QObject {
    Q_OBJECT
public:
    explicit SignalLog(const QString& service)
    {
        for (const char* interface :
             {"org.kde.StatusNotifierItem", "org.freedesktop.DBus.Properties", "com.canonical.dbusmenu"})
            DesktopBus().connect(service, QString(), QString::fromLatin1(interface), QString(), this,
                                 SLOT(Heard(QDBusMessage)));
        // A round trip to the bus daemon: the match rules have been taken in.
        DesktopBus().interface()->isServiceRegistered(service);
    }
    QStringList Names() const
    {
        QStringList names;
        for (const QDBusMessage& message : messages)
            names.append(message.member());
        return names;
    }

    QList<QDBusMessage> messages;

public slots:
    void Heard(const QDBusMessage& message) { messages.append(message); }
};

} // namespace vostrel::test
