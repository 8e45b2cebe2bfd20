#include "app/command/CommandRunner.h"

#include "app/command/FigureFollower.h"
#include "app/command/SingleInstance.h"
#include "engine/Clock.h"
#include "resources/Version.h"

#include <QCoreApplication>

#include <csignal>

namespace vostrel {
namespace {

using namespace std::chrono_literals;

// A copy that does not tell its countdown within this is taken as none.
constexpr auto kStateWait = 1s;

std::string LineFor(CommandRequest::Format format, const CountdownFigure& figure, const OleDate& now)
{
    return format == CommandRequest::Format::json ? figure.Json(now) : figure.Text(now);
}

} // namespace

CommandRunner::Outcome CommandRunner::Run(const CommandRequest& request, int& argc, char** argv)
{
    using Action = CommandRequest::Action;
    switch (request.action) {
    case Action::help:
        Print(CommandLineHelp(m_context.program));
        return {0, {}};
    case Action::version:
        Print(res::kAboutVersion);
        return {0, {}};
    case Action::query:
        return {Print(LineFor(request.format, CurrentFigure(), m_context.clock.Now())) ? 0 : 1, {}};
    case Action::follow:
        return {Follow(request.format, argc, argv), {}};
    case Action::quit: {
        const RemoteRequest quit{RemoteRequest::Kind::quit, {}, {}};
        if (SingleInstance::Ask(m_context.channelKey, quit) == ExpectedAnswer(quit.kind))
            return {0, {}};
        return {Complain(QStringLiteral("no copy is running."), 1), {}};
    }
    case Action::show:
    case Action::set: {
        const RemoteRequest handed =
            request.action == Action::show
                ? RemoteRequest{RemoteRequest::Kind::show, {}, {}}
                : RemoteRequest{RemoteRequest::Kind::set, request.target, request.unit};
        const std::optional<QByteArray> answer = SingleInstance::Ask(m_context.channelKey, handed);
        if (answer == ExpectedAnswer(handed.kind))
            return {0, {}};
        if (answer == kRefusedAnswer)
            return {Complain(QStringLiteral("the running copy refused the request."), 2), {}};
        return {{}, handed};
    }
    case Action::start:
        break;
    }
    return {};
}

CountdownFigure CommandRunner::CurrentFigure() const
{
    const std::optional<QByteArray> answer =
        SingleInstance::Ask(m_context.channelKey, {RemoteRequest::Kind::state, {}, {}}, kStateWait);
    if (answer)
        if (const std::optional<RemoteState> state = RemoteState::Decode(*answer))
            return CountdownFigure::FromState(*state);
    return CountdownFigure::FromSettings(m_context.store, m_context.clock);
}

int CommandRunner::Follow(CommandRequest::Format format, int& argc, char** argv)
{
    // A reader that goes away ends the loop through a failed write, quietly.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication loop(argc, argv);
    FigureFollower follower(
        m_context.clock, [this] { return CurrentFigure(); },
        [format](const CountdownFigure& figure, const OleDate& now) { return LineFor(format, figure, now); },
        [this](const std::string& line) { return Print(line); }, m_context.settingsFile);
    follower.Start();
    return QCoreApplication::exec();
}

bool CommandRunner::Print(const std::string& line) const
{
    return std::fputs(line.c_str(), m_context.out) >= 0 &&
           (line.ends_with('\n') || std::fputc('\n', m_context.out) != EOF) &&
           std::fflush(m_context.out) == 0;
}

int CommandRunner::Complain(const QString& what, int status) const
{
    std::fprintf(m_context.err, "%s\n",
                 (m_context.program + QStringLiteral(": ") + what).toLocal8Bit().constData());
    return status;
}

} // namespace vostrel
