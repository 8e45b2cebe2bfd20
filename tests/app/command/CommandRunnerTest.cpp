// What the command line does without a window: the figure it prints comes
// from the running copy when one answers, else from the saved settings;
// requests reach the running copy; failures are one line and a status.
#include "app/command/CommandRunner.h"

#include "app/command/SingleInstance.h"
#include "engine/CountdownState.h"
#include "tests/support/FixedClock.h"
#include "tests/support/MemoryStore.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <future>

namespace vostrel {
namespace {

using test::At;

// Runs the command on a thread of its own while this thread answers for
// the running copy; its status and what it printed on stdout and stderr.
struct Ran {
    std::optional<int> status;
    std::optional<RemoteRequest> startWith;
    std::string out;
    std::string err;
};

std::string ReadBack(std::FILE* file)
{
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
        text += static_cast<char>(c);
    std::fclose(file);
    return text;
}

class CommandRunning : public testing::Test {
protected:
    Ran Run(CommandRequest request)
    {
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        CommandRunner runner(
            {QStringLiteral("Vostrel"), key, dir.filePath("Vostrel.conf"), store, clock, out, err});
        auto done = std::async(std::launch::async, [&runner, request] {
            int argc = 1;
            char name[] = "Vostrel";
            char* argv[] = {name, nullptr};
            return runner.Run(request, argc, argv);
        });
        EXPECT_TRUE(QTest::qWaitFor(
            [&done] { return done.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 10000));
        const CommandRunner::Outcome outcome = done.get();
        return {outcome.exitStatus, outcome.startWith, ReadBack(out), ReadBack(err)};
    }
    static CommandRequest Asking(CommandRequest::Action action,
                                 CommandRequest::Format format = CommandRequest::Format::text)
    {
        CommandRequest request;
        request.action = action;
        request.format = format;
        return request;
    }

    QTemporaryDir dir;
    QString key = dir.filePath("Vostrel.socket");
    test::FixedClock clock{At(2026, 12, 8, 10, 0, 0)};
    test::MemoryStore store;
};

TEST_F(CommandRunning, TheFigureIsTheRunningCopysElseTheSettings)
{
    store.texts["Settings/EndDate"] = "12/08/2026 12:00:00";
    store.ints["Settings/DisplayPeriod"] = unitHms;
    Ran ran = Run(Asking(CommandRequest::Action::query));
    EXPECT_EQ(ran.status, 0);
    EXPECT_EQ(ran.out, "2:0:0 HMS\n");
    EXPECT_EQ(ran.err, "");

    // A copy whose vacation rule moved its end: its own figure, in its unit.
    std::optional<RemoteState> state = RemoteState{At(2026, 12, 8, 11, 0, 0).GetValue(), unitMinutes};
    SingleInstance copy(key);
    ASSERT_TRUE(copy.Start({RemoteRequest::Kind::show, {}, {}}, {{}, [&state] { return state; }}));
    ran = Run(Asking(CommandRequest::Action::query, CommandRequest::Format::json));
    EXPECT_EQ(ran.status, 0);
    EXPECT_NE(ran.out.find("\"text\":\"60 Mins\""), std::string::npos) << ran.out;
    EXPECT_NE(ran.out.find("\"alt\":\"M\""), std::string::npos) << ran.out;
    // A copy still starting has no countdown to tell.
    state.reset();
    EXPECT_EQ(Run(Asking(CommandRequest::Action::query)).out, "2:0:0 HMS\n");
}

TEST_F(CommandRunning, RequestsReachTheRunningCopyOrStartOne)
{
    CommandRequest set = Asking(CommandRequest::Action::set);
    set.target = "+0:02";
    set.unit = unitHms;
    // None runs: --set and --show start the program with the request, a
    // plain start without one, and --quit fails.
    Ran ran = Run(set);
    EXPECT_FALSE(ran.status);
    ASSERT_TRUE(ran.startWith);
    EXPECT_EQ(ran.startWith->Encode(), "set\t4\t+0:02");
    EXPECT_EQ(Run(Asking(CommandRequest::Action::show)).startWith->Encode(), "show");
    ran = Run(Asking(CommandRequest::Action::start));
    EXPECT_FALSE(ran.status);
    EXPECT_FALSE(ran.startWith);
    ran = Run(Asking(CommandRequest::Action::quit));
    EXPECT_EQ(ran.status, 1);
    EXPECT_EQ(ran.err, "Vostrel: no copy is running.\n");

    std::vector<QByteArray> received;
    SingleInstance copy(key);
    ASSERT_TRUE(copy.Start(
        {RemoteRequest::Kind::show, {}, {}},
        {[&received](const RemoteRequest& request) { received.push_back(request.Encode()); }, {}}));
    EXPECT_EQ(Run(set).status, 0);
    EXPECT_EQ(Run(Asking(CommandRequest::Action::show)).status, 0);
    EXPECT_EQ(Run(Asking(CommandRequest::Action::quit)).status, 0);
    EXPECT_TRUE(QTest::qWaitFor([&received] { return received.size() == 3; }, 5000));
    EXPECT_EQ(received, (std::vector<QByteArray>{"set\t4\t+0:02", "show", "quit"}));

    ran = Run(Asking(CommandRequest::Action::version));
    EXPECT_EQ(ran.status, 0);
    EXPECT_EQ(ran.out, "Vostrel Version 5.0\n");
}

} // namespace
} // namespace vostrel
