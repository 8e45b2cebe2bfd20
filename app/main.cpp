// Vostrel: a countdown timer that lives in the notification area.
#include "app/CountdownApp.h"
#include "app/StartupPreload.h"
#include "app/desktop/DisplayCheck.h"
#include "app/desktop/WindowClass.h"
#include "resources/DesktopId.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    // Without a display Qt would end the program with a core dump: say why
    // it cannot start instead, before anything is read or written.
    if (const auto complaint = vostrel::DisplayCheck(argc, argv, std::getenv).Complaint()) {
        std::fprintf(stderr, "%s\n", complaint->c_str());
        return EXIT_FAILURE;
    }
    std::jthread fontConfiguration = vostrel::ReadFontConfiguration();
    QApplication application(argc, argv);
    if (fontConfiguration.joinable())
        fontConfiguration.join();
    // Declared after the application object, so it is joined before the
    // application is destroyed.
    const std::jthread iconPlugin = vostrel::LoadIconPlugin();
    QApplication::setOrganizationName(QStringLiteral("Pelmark"));
    // Desktops tie windows to the launcher, and its icon, by this name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(vostrel::res::kDesktopId));
    const vostrel::WindowClass windowClass;
    // The window is hidden most of its life: only the end of its modal run
    // ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    vostrel::CCountdownApp().InitInstance();
    return 0;
}
