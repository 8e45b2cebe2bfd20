// Desktop notifications, against a notification server of the tests' own on the tests' private session bus.
#include "app/desktop/FreedesktopNotifier.h"
#include "tests/support/FakeNotificationServer.h"

#include <QtTest>

#include <gtest/gtest.h>

using namespace vostrel;

namespace {

using test::FakeNotificationServer;

TEST(FreedesktopNotifier, AskForAnUrgentNotificationWhoseActionComesBackAndCloseIt)
{
    int activated = 0;
    FreedesktopNotifier notifications([&activated] { ++activated; });
    notifications.Notify("Vostrel", "Time is up."); // without a server: nothing happens
    notifications.Close();
    QTest::qWait(50);
    EXPECT_EQ(activated, 0);
    FakeNotificationServer server(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "server"));
    ASSERT_TRUE(server.owned);

    notifications.Notify("Time is up", "The countdown to 12/06/2026 13:45:00 has ended.");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.notified.size() == 1; }, 5000));
    const FakeNotificationServer::Notification& shown = server.notified[0];
    EXPECT_EQ(QStringList({shown.appName, shown.appIcon, shown.summary, shown.body, shown.actions.join('|'),
                           QString::number(shown.hints.value("urgency").toInt()),
                           shown.hints.value("desktop-entry").toString()}),
              QStringList({QCoreApplication::applicationName(), "io.pelmark.Vostrel", "Time is up",
                           "The countdown to 12/06/2026 13:45:00 has ended.", "default|Show", "2",
                           "io.pelmark.Vostrel"}));

    // Another notification's action is not ours.
    server.InvokeAction(shown.id + 1, "default");
    server.InvokeAction(shown.id, "default");
    ASSERT_TRUE(QTest::qWaitFor([&] { return activated > 0; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(activated, 1);

    // Closed before the server has answered: closed as soon as it has.
    notifications.Notify("Time is up", "Again.");
    notifications.Close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.closed.empty(); }, 5000));
    ASSERT_EQ(server.notified.size(), 2u);
    EXPECT_EQ(server.closed, std::vector<uint>({server.notified[1].id}));
}

// A program that ends takes its notification with it, whether the server has
// answered yet or not: its action would reach nothing.
TEST(FreedesktopNotifier, GoWithTheProgram)
{
    // The server answers from a thread of its own while the program's thread waits for it.
    FakeNotificationServer server(
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, "server-thread"));
    QThread thread;
    server.moveToThread(&thread);
    thread.start();
    std::optional<FreedesktopNotifier> notifications(std::in_place, [] {});
    notifications->Notify("Time is up", "Not answered yet.");
    notifications.reset();
    thread.quit();
    ASSERT_TRUE(thread.wait(5000));
    ASSERT_EQ(server.notified.size(), 1u);
    EXPECT_EQ(server.closed, std::vector<uint>({server.notified[0].id}));
}

} // namespace
