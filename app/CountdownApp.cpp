#include "CountdownApp.h"

#include "Clock.h"
#include "CountdownDlg.h"
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
    DesktopBell speaker;
    QtMessages messages;
    {
        CCountdownDlg dialog({clock, speaker, store, messages});
        dialog.DoModal();
    }
    return false;
}

} // namespace vostrel
