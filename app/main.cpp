// Vostrel: a countdown timer that lives in the notification area.
//
// This part reads the command line and answers what needs no window (the
// time left for scripts, requests to the running copy); the program itself
// is a module loaded only to run, so that a status bar asking for the time
// left every second loads no graphical library.
#include "app/command/CommandLine.h"
#include "app/command/CommandRunner.h"
#include "app/command/SingleInstance.h"
#include "app/command/WindowModule.h"
#include "engine/SystemClock.h"
#include "settings/SettingsFileStore.h"

#include <QFileInfo>
#include <QtGlobal>

#include <cstdio>

namespace {

// The command line's own output is what scripts read: Qt's notes on the
// way (a runtime folder made up where none is set) stay out of it.
void KeepQuietBelowCritical(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(KeepQuietBelowCritical);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const vostrel::SystemClock clock;
    const vostrel::CommandLineReading reading = vostrel::ReadCommandLine(arguments, clock);
    if (!reading.request) {
        std::fprintf(stderr, "%s\n", reading.error.c_str());
        return 2;
    }
    // The settings are the executable's own, by its name: a renamed copy
    // keeps settings of its own, as the window does.
    const QString name =
        arguments.isEmpty() ? QStringLiteral("Vostrel") : QFileInfo(arguments.first()).fileName();
    vostrel::SettingsFileStore store(QStringLiteral("Pelmark"), name);
    const QString settingsFile = store.Location();
    vostrel::CommandRunner runner(
        {name, vostrel::SingleInstance::KeyFor(settingsFile), settingsFile, store, clock});
    const vostrel::CommandRunner::Outcome outcome = runner.Run(*reading.request, argc, argv);
    if (outcome.exitStatus)
        return *outcome.exitStatus;
    // The program says what it has to say.
    qInstallMessageHandler(nullptr);
    return vostrel::RunWindowModule(argc, argv, outcome.startWith);
}
