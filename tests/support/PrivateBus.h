#pragma once

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vostrel::test {

// A session bus of the test process's own: a dbus-daemon started before the
// application object, so that nothing a test puts on the bus (tray items,
// notifications, a second copy's hand-over) reaches the desktop of whoever
// runs the tests, and test servers can own the desktop's well-known names.
class PrivateBus {
public:
    PrivateBus()
    {
        FILE* daemon = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
        if (!daemon)
            return;
        char address[512] = {};
        char pid[32] = {};
        const bool read = std::fgets(address, sizeof address, daemon) && std::fgets(pid, sizeof pid, daemon);
        pclose(daemon);
        if (!read)
            return;
        m_address = address;
        while (!m_address.empty() && (m_address.back() == '\n' || m_address.back() == '\r'))
            m_address.pop_back();
        m_pid = std::atoi(pid);
        setenv("DBUS_SESSION_BUS_ADDRESS", m_address.c_str(), 1);
    }
    ~PrivateBus()
    {
        if (m_pid > 0)
            kill(m_pid, SIGTERM);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool Running() const { return m_pid > 0; }
    const std::string& Address() const { return m_address; }

private:
    std::string m_address;
    int m_pid = 0;
};

} // namespace vostrel::test
