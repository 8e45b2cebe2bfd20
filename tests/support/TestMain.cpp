// Runs the Qt tests on Qt's offscreen platform unless told otherwise, with a
// session bus of their own and the fonts the tests are measured in.
#include <QApplication>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

namespace {

// A session bus of the test process's own: a dbus-daemon started before the application object, so that
// nothing a test puts on the bus (tray items, notifications, a second copy's hand-over) reaches the desktop
// of whoever runs the tests, and test servers can own the desktop's well-known names. The bus starts no
// services by activation: what answers is what the test started itself, whatever the machine has installed.
struct PrivateBus {
    PrivateBus()
    {
        FILE* daemon = popen("dbus-daemon --config-file=" VOSTREL_TEST_BUS_CONFIG
                             " --fork --print-address=1 --print-pid=1",
                             "r");
        char address[512] = {};
        if (daemon && std::fscanf(daemon, "%511s %d", address, &pid) == 2)
            setenv("DBUS_SESSION_BUS_ADDRESS", address, 1);
        if (daemon)
            pclose(daemon);
    }
    ~PrivateBus()
    {
        if (pid > 0)
            kill(pid, SIGTERM);
    }
    int pid = 0;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("FONTCONFIG_FILE", VOSTREL_TEST_FONTS);
    const PrivateBus bus;
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
