#pragma once

#include "app/command/CommandLine.h"
#include "app/command/CountdownFigure.h"
#include "app/command/RemoteRequest.h"

#include <QString>

#include <cstdio>
#include <optional>

namespace vostrel {

class Clock;
class ProfileStore;

// Carries out what the command line asks that needs no window: help,
// version, the time left once or followed, and requests to the running copy.
class CommandRunner {
public:
    struct Context {
        QString program;    // the name messages begin with
        QString channelKey; // where the running copy listens
        QString settingsFile;
        ProfileStore& store;
        const Clock& clock;
        std::FILE* out = stdout;
        std::FILE* err = stderr;
    };

    // What to do after Run: end with a status, or start the program, which
    // then carries out the request if there is one.
    struct Outcome {
        std::optional<int> exitStatus;
        std::optional<RemoteRequest> startWith;
    };

    explicit CommandRunner(Context context) : m_context(std::move(context)) {}

    // argc and argv serve the event loop that --follow runs.
    Outcome Run(const CommandRequest& request, int& argc, char** argv);

    // The running copy's countdown, or without one the saved settings'.
    CountdownFigure CurrentFigure() const;

private:
    int Follow(CommandRequest::Format format, int& argc, char** argv);
    bool Print(const std::string& line) const;
    // Says what went wrong in one line; the status to end with.
    int Complain(const QString& what, int status) const;

    Context m_context;
};

} // namespace vostrel
