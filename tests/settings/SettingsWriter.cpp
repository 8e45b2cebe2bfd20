// Another copy of the program saving its settings COUNT times over. It says
// "ready", and waits for a line on its input before it starts; it says
// "saved" after its first save (a test may kill it from then on), and at the
// end the monotonic times in nanoseconds when its first save began
// and its last ended, so that a test knows when they ran.
// Usage: settings_writer DIR TAG COUNT
#include "SettingsFileStore.h"

#include <QCoreApplication>
#include <QSettings>

#include <chrono>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 4)
        return 2;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromLocal8Bit(argv[1]));
    vostrel::SettingsFileStore store(QStringLiteral("Pelmark"), QStringLiteral("Vostrel"));
    std::printf("ready\n");
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 3;
    const auto now = [] {
        return static_cast<long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    };
    const long long begun = now();
    for (int i = 0; i < std::stoi(argv[3]); ++i) {
        store.WriteText("Settings", "EndDate", argv[2] + (" " + std::to_string(i)));
        store.WriteInt("Settings", "DisplayPeriod", i % 5);
        if (i == 0) {
            std::printf("saved\n");
            std::fflush(stdout);
        }
    }
    std::printf("%lld %lld\n", begun, now());
    return 0;
}
