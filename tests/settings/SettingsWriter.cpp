// Another copy of the program saving its settings over and over, as a second
// instance or a process about to be killed. Usage: settings_writer DIR TAG COUNT
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
    for (int i = 0; i < std::stoi(argv[3]); ++i) {
        store.WriteText("Settings", "EndDate", argv[2] + (" " + std::to_string(i)));
        store.WriteInt("Settings", "DisplayPeriod", i % 5);
    }
    return 0;
}
