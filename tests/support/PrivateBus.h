#pragma once

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace vostrel::test {

// A session bus of the test process's own: a dbus-daemon started before the application object, so that
// nothing a test puts on the bus (tray items, notifications, a second copy's hand-over) reaches the desktop
// of whoever runs the tests, and test servers can own the desktop's well-known names. The bus starts no
// services by activation: what answers is what the test started itself, whatever the machine has installed.
class PrivateBus {
public:
    PrivateBus()
    {
        FILE* daemon = popen("dbus-daemon --config-file=" VOSTREL_TEST_BUS_CONFIG
                             " --fork --print-address=1 --print-pid=1",
                             "r");
        char address[512] = {};
        if (daemon && std::fscanf(daemon, "%511s %d", address, &m_pid) == 2)
            setenv("DBUS_SESSION_BUS_ADDRESS", address, 1);
        if (daemon)
            pclose(daemon);
    }
    ~PrivateBus()
    {
        if (m_pid > 0)
            kill(m_pid, SIGTERM);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

private:
    int m_pid = 0;
};

} // namespace vostrel::test
