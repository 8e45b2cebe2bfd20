// The program itself: the window, the tray icon and the alarm, in a module
// of their own that the command line loads only when the program runs.
#include "app/CountdownApp.h"
#include "app/StartupPreload.h"
#include "app/desktop/DisplayCheck.h"
#include "app/desktop/WindowClass.h"
#include "app/framework/ExitDeadline.h"
#include "resources/DesktopId.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>

// Runs the program until it ends; the request (a line as copies hand each
// other) is carried out once the window has started.
extern "C" Q_DECL_EXPORT int RunCountdownWindow(int argc, char** argv, const char* firstRequest)
{
    // Without a display Qt would end the program with a core dump: say why
    // it cannot start instead, before anything is read or written.
    if (const auto complaint = vostrel::DisplayCheck(argc, argv, std::getenv).Complaint()) {
        std::fprintf(stderr, "%s\n", complaint->c_str());
        return EXIT_FAILURE;
    }
    // Declared before the application object, so that it watches over the
    // application's teardown.
    vostrel::ExitDeadline teardown;
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
    std::optional<vostrel::RemoteRequest> request;
    if (firstRequest)
        request = vostrel::RemoteRequest::Decode(QByteArray(firstRequest));
    vostrel::CCountdownApp(request).InitInstance();
    // Everything is saved and the icon, the windows and the notification are
    // gone; the rest is the toolkit's teardown, given a few seconds.
    teardown.Arm(std::chrono::seconds(3), EXIT_SUCCESS,
                 "Vostrel: the display did not let go of the program in time; it ended without waiting.");
    return EXIT_SUCCESS;
}
