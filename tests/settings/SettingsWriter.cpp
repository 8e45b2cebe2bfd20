// Helper for the settings tests: another copy of the program saving its
// settings over and over, as a second instance or a process about to crash.
// Usage: settings_writer CONFIG_DIR TAG COUNT
#include "SettingsFileStore.h"

#include <QCoreApplication>
#include <QSettings>

#include <string>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 4)
        return 2;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromLocal8Bit(argv[1]));
    vostrel::SettingsFileStore store(QStringLiteral("Pelmark"), QStringLiteral("Vostrel"));
    const std::string tag = argv[2];
    const int count = std::stoi(argv[3]);
    for (int i = 0; i < count; ++i) {
        store.WriteText("Settings", "EndDate", tag + " " + std::to_string(i));
        store.WriteInt("Settings", "DisplayPeriod", i % 5);
    }
    return 0;
}
