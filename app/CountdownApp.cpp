#include "CountdownApp.h"

#include "Clock.h"
#include "CountdownDlg.h"
#include "DesktopNotifications.h"
#include "DesktopNotifyArea.h"
#include "LazyToneSpeaker.h"
#include "LoginStart.h"
#include "MainWindow.h"
#include "Messages.h"
#include "ResourceIds.h"
#include "SettingsFileStore.h"
#include "SingleInstance.h"
#include "Speaker.h"

#include <QApplication>

namespace vostrel {

bool CCountdownApp::InitInstance()
{
    // The settings live under the organisation "Pelmark" and the
    // application's name, which is the executable's base name.
    SettingsFileStore store(QApplication::organizationName(), QApplication::applicationName());
    // A second start with the same settings shows the running copy's
    // window instead, as Update Timer does.
    Application application;
    SingleInstance single(SingleInstance::KeyFor(store.Location()));
    const bool running = single.Start([&application] {
        if (CommandWindow* window = application.GetMainWnd())
            window->SendCommand(res::ID_UPDATE_TIMER);
    });
    if (!running)
        return false;
    SystemClock clock;
    DesktopBell bell;
    LazyToneSpeaker speaker(bell, LazyToneSpeaker::DefaultFolders());
    QtMessages messages;
    DesktopNotifications notifications([&application] {
        if (CommandWindow* window = application.GetMainWnd())
            window->SendCommand(res::ID_UPDATE_TIMER);
    });
    DesktopNotifyArea notifyArea;
    const std::unique_ptr<LoginStart> loginStart = LoginStartForThisProgram();
    {
        CCountdownDlg dialog(
            {clock, speaker, store, messages, notifications, notifyArea, application, *loginStart});
        application.SetMainWnd(&dialog);
        dialog.DoModal();
        application.SetMainWnd(nullptr);
    }
    return false;
}

} // namespace vostrel
