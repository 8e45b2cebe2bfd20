// Another copy of the program saving its settings COUNT times over. It says
// "saved" after its first save: a test may kill it from then on.
// Usage: settings_writer DIR TAG COUNT
#include "settings/SettingsFileStore.h"

#include <QCoreApplication>
#include <QSettings>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 4)
        return 2;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromLocal8Bit(argv[1]));
    vostrel::SettingsFileStore store(QStringLiteral("Pelmark"), QStringLiteral("Vostrel"));
    for (int i = 0; i < std::stoi(argv[3]); ++i) {
        store.WriteText("Settings", "EndDate", argv[2] + (" " + std::to_string(i)));
        store.WriteInt("Settings", "DisplayPeriod", i % 5);
        if (i == 0) {
            std::printf("saved\n");
            std::fflush(stdout);
        }
    }
    return 0;
}
