// Another copy of the program saving its settings over and over, as a second
// instance or a process about to be killed. It says "ready" and, when asked
// to (GO), waits for a line on its input before it starts; it prints
// "saving I T" as each save begins and "saved I T" once it is done, T being
// the monotonic clock in nanoseconds, so that a test knows saves are under
// way and when they ran.
// Usage: settings_writer DIR TAG COUNT [GO]
#include "SettingsFileStore.h"

#include <QCoreApplication>
#include <QSettings>

#include <chrono>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 4 && argc != 5)
        return 2;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromLocal8Bit(argv[1]));
    vostrel::SettingsFileStore store(QStringLiteral("Pelmark"), QStringLiteral("Vostrel"));
    std::printf("ready\n");
    std::fflush(stdout);
    if (argc == 5) {
        char line[16];
        if (!std::fgets(line, sizeof line, stdin))
            return 3;
    }
    const auto say = [](const char* what, int i) {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("%s %d %lld\n", what, i, static_cast<long long>(std::chrono::nanoseconds(now).count()));
        std::fflush(stdout);
    };
    for (int i = 0; i < std::stoi(argv[3]); ++i) {
        say("saving", i);
        store.WriteText("Settings", "EndDate", argv[2] + (" " + std::to_string(i)));
        store.WriteInt("Settings", "DisplayPeriod", i % 5);
        say("saved", i);
    }
    return 0;
}
