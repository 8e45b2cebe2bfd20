// Vostrel: a countdown timer that lives in the notification area.
#include "CountdownApp.h"
#include "StartupPreload.h"
#include "WindowClass.h"

#include <QApplication>

int main(int argc, char** argv)
{
    std::jthread fontConfiguration = vostrel::ReadFontConfiguration();
    QApplication application(argc, argv);
    if (fontConfiguration.joinable())
        fontConfiguration.join();
    // Declared after the application object, so it is joined before the
    // application is destroyed.
    const std::jthread iconPlugin = vostrel::LoadIconPlugin();
    QApplication::setOrganizationName(QStringLiteral("Pelmark"));
    // Desktops tie windows to the launcher, and its icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.pelmark.Vostrel"));
    const vostrel::WindowClass windowClass;
    // The window is hidden most of its life: only the end of its modal run
    // ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    vostrel::CCountdownApp().InitInstance();
    return 0;
}
