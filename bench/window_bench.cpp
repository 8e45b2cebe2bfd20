// Cost of the countdown window's once-a-second tick: the exchange with its
// controls, the engine and the tooltip, as the running program pays it.
#include "app/desktop/DesktopNotifier.h"
#include "app/framework/Messages.h"
#include "app/sound/Speaker.h"
#include "engine/SystemClock.h"
#include "settings/ProfileStore.h"
#include "settings/login/LoginStart.h"
#include "tray/area/TrayArea.h"
#include "ui/CountdownDlg.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace vostrel;

struct Quiet final : Speaker, Messages, DesktopNotifier, TrayArea, ProfileStore, LoginStart {
    void Beep(unsigned, unsigned) override {}
    void Notify(const QString&, const QString&) override {}
    void Close() override {}
    void Show(QWidget*, const QString&) override {}
    bool IsAvailable() const override { return true; }
    bool ShellNotifyIcon(std::uint32_t, const NOTIFYICONDATA&) override { return true; }
    std::int32_t ReadInt(std::string_view, std::string_view name, std::int32_t fallback) override
    {
        return name == "DisplayPeriod" ? unitHms : fallback;
    }
    std::string ReadText(std::string_view, std::string_view name, std::string_view fallback) override
    {
        return name == "EndDate" ? "12/31/2030 17:00:00" : std::string(fallback);
    }
    void WriteInt(std::string_view, std::string_view, std::int32_t) override {}
    void WriteText(std::string_view, std::string_view, std::string_view) override {}
    bool IsOn() const override { return false; }
    bool SetOn(bool) override { return true; }
};

// One tick of the window as it starts, hidden (argument 0), or shown (1),
// when each tick also exchanges data with its controls.
void WindowTick(benchmark::State& loop)
{
    Quiet quiet;
    SystemClock clock;
    Application app;
    CCountdownDlg dialog({clock, quiet, quiet, quiet, quiet, quiet, app, quiet});
    dialog.Start();
    if (loop.range(0) != 0)
        dialog.show();
    for (auto _ : loop)
        dialog.RefreshDisplay();
}
BENCHMARK(WindowTick)->Arg(0)->Arg(1);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
