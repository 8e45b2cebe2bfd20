// A desktop notification server for the end-to-end tests: prints a line for
// every notification and every close it is asked for, and invokes an action
// when told to over the bus (InvokeAction).
#include "tests/support/FakeNotificationServer.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    vostrel::test::FakeNotificationServer server(QDBusConnection::sessionBus());
    if (!server.owned)
        return 1;
    std::size_t notifiedShown = 0;
    std::size_t closedShown = 0;
    QObject::connect(&server, &vostrel::test::FakeNotificationServer::changed, [&] {
        for (; notifiedShown < server.notified.size(); ++notifiedShown) {
            const auto& n = server.notified[notifiedShown];
            std::printf("notify %u app=%s icon=%s urgency=%d entry=%s actions=%s summary=%s body=%s\n", n.id,
                        qPrintable(n.appName), qPrintable(n.appIcon), n.hints.value("urgency").toInt(),
                        qPrintable(n.hints.value("desktop-entry").toString()),
                        qPrintable(n.actions.join(u',')), qPrintable(n.summary), qPrintable(n.body));
        }
        for (; closedShown < server.closed.size(); ++closedShown)
            std::printf("close %u\n", server.closed[closedShown]);
        std::fflush(stdout);
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return application.exec();
}
