#include "app/CountdownApp.h"

#include "app/desktop/FreedesktopNotifier.h"
#include "app/desktop/SingleInstance.h"
#include "app/framework/Application.h"
#include "app/framework/QtMessages.h"
#include "app/sound/DesktopBell.h"
#include "app/sound/LazyToneSpeaker.h"
#include "engine/SystemClock.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsFileStore.h"
#include "settings/login/LoginStart.h"
#include "tray/DesktopTrayArea.h"
#include "ui/CountdownDlg.h"

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
    FreedesktopNotifier notifications([&application] {
        if (CommandWindow* window = application.GetMainWnd())
            window->SendCommand(res::ID_UPDATE_TIMER);
    });
    DesktopTrayArea notifyArea;
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
