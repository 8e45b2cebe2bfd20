#include "CountdownApp.h"

#include "Clock.h"
#include "CountdownDlg.h"
#include "DesktopNotifyArea.h"
#include "LazyToneSpeaker.h"
#include "MainWindow.h"
#include "Messages.h"
#include "SettingsFileStore.h"
#include "Speaker.h"

#include <QApplication>

namespace vostrel {

bool CCountdownApp::InitInstance()
{
    // The settings live under the organisation "Pelmark" and the
    // application's name, which is the executable's base name.
    SettingsFileStore store(QApplication::organizationName(), QApplication::applicationName());
    SystemClock clock;
    DesktopBell bell;
    LazyToneSpeaker speaker(bell, LazyToneSpeaker::DefaultFolders());
    QtMessages messages;
    DesktopNotifyArea notifyArea;
    Application application;
    {
        CCountdownDlg dialog({clock, speaker, store, messages, notifyArea, application});
        application.SetMainWnd(&dialog);
        dialog.DoModal();
        application.SetMainWnd(nullptr);
    }
    return false;
}

} // namespace vostrel
