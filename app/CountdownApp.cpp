#include "app/CountdownApp.h"

#include "app/command/SingleInstance.h"
#include "app/desktop/FreedesktopNotifier.h"
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
#include <QTimer>

namespace vostrel {
namespace {

// A request from another copy of the program, carried out as the user
// would: show is Update Timer, quit is Exit, a new target or unit is typed
// and confirmed with OK.
void CarryOut(CCountdownDlg& window, const RemoteRequest& request)
{
    switch (request.kind) {
    case RemoteRequest::Kind::show:
        window.SendCommand(res::ID_UPDATE_TIMER);
        break;
    case RemoteRequest::Kind::quit:
        window.SendCommand(res::ID_APP_EXIT);
        break;
    case RemoteRequest::Kind::set:
        window.ConfirmTarget(request.target, request.unit);
        break;
    case RemoteRequest::Kind::state:
        break;
    }
}

} // namespace

bool CCountdownApp::InitInstance()
{
    // The settings live under the organisation "Pelmark" and the
    // application's name, which is the executable's base name.
    SettingsFileStore store(QApplication::organizationName(), QApplication::applicationName());
    // A second start with the same settings hands its request to the
    // running copy instead: show its window, as Update Timer does, take a
    // new target, end, or tell its countdown to a script.
    Application application;
    CCountdownDlg* dialog = nullptr;
    SingleInstance single(SingleInstance::KeyFor(store.Location()));
    const auto carryOut = [&dialog](const RemoteRequest& request) {
        if (dialog)
            CarryOut(*dialog, request);
    };
    const auto tellState = [&dialog]() -> std::optional<RemoteState> {
        if (!dialog)
            return std::nullopt;
        return RemoteState{dialog->m_EndTime.GetValue(), dialog->m_nDisplayPeriod};
    };
    const RemoteRequest firstRequest =
        m_firstRequest.value_or(RemoteRequest{RemoteRequest::Kind::show, {}, {}});
    if (!single.Start(firstRequest, {carryOut, tellState}))
        return false;
    SystemClock clock;
    DesktopBell bell;
    LazyToneSpeaker speaker(bell, LazyToneSpeaker::DefaultFolders());
    QtMessages messages;
    FreedesktopNotifier notifications([&application] {
        if (CommandWindow* window = application.GetMainWnd())
            window->SendCommand(res::ID_UPDATE_TIMER);
    });
    DesktopTrayArea trayArea;
    const std::unique_ptr<LoginStart> loginStart = LoginStartForThisProgram();
    {
        CCountdownDlg window(
            {clock, speaker, store, messages, notifications, trayArea, application, *loginStart});
        application.SetMainWnd(&window);
        dialog = &window;
        // A first start's own request (the window shown, a new target) is
        // carried out once the window has started.
        if (m_firstRequest)
            QTimer::singleShot(0, &window,
                               [&window, request = *m_firstRequest] { CarryOut(window, request); });
        window.DoModal();
        dialog = nullptr;
        application.SetMainWnd(nullptr);
    }
    return false;
}

} // namespace vostrel
