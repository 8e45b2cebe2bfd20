// What the command line does without a window: the figure it prints comes from the running copy when one
// answers, else from the saved settings; requests reach the running copy; failures are one line and a status.
#include "app/command/CommandRunner.h"

#include "app/command/SingleInstance.h"
#include "engine/CountdownState.h"
#include "tests/support/FixedClock.h"
#include "tests/support/MemoryStore.h"

#include <QtTest>

#include <gtest/gtest.h>

#include <future>

using namespace vostrel;

namespace {

using test::At;
using Action = CommandRequest::Action;

// A command's status, the request it starts the program with, and what it printed on stdout and stderr.
struct Ran {
    std::optional<int> status;
    std::optional<QByteArray> startWith;
    std::string out, err;
    bool operator==(const Ran&) const = default;
};
void PrintTo(const Ran& r, std::ostream* os)
{
    *os << (r.status ? std::to_string(*r.status) : "none") << " [" << r.startWith.value_or("-").toStdString()
        << "] [" << r.out << "] [" << r.err << "]";
}

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
    // Runs the command on a thread of its own while this thread answers for the running copy.
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
        const auto startWith = outcome.startWith ? std::optional(outcome.startWith->Encode()) : std::nullopt;
        return {outcome.exitStatus, startWith, ReadBack(out), ReadBack(err)};
    }

    Ran Run(Action action) { return Run({action, {}, {}, {}}); }

    QTemporaryDir dir;
    QString key = dir.filePath("Vostrel.socket");
    test::FixedClock clock{At(2026, 12, 8, 10, 0, 0)};
    test::MemoryStore store;
};

TEST_F(CommandRunning, TheFigureIsTheRunningCopysElseTheSettings)
{
    store.texts["Settings/EndDate"] = "12/08/2026 12:00:00";
    store.ints["Settings/DisplayPeriod"] = unitHms;
    EXPECT_EQ(Run(Action::query), (Ran{0, {}, "2:0:0 HMS\n", ""}));

    // A copy whose vacation rule moved its end: its own figure, in its unit.
    std::optional<RemoteState> state = RemoteState{At(2026, 12, 8, 11, 0, 0).GetValue(), unitMinutes};
    SingleInstance copy(key);
    ASSERT_TRUE(copy.Start({RemoteRequest::Kind::show, {}, {}}, {{}, [&state] { return state; }}));
    const Ran ran = Run({Action::query, {}, {}, CommandRequest::Format::json});
    EXPECT_EQ(ran.status, 0);
    EXPECT_NE(ran.out.find("\"text\":\"60 Mins\""), std::string::npos) << ran.out;
    EXPECT_NE(ran.out.find("\"alt\":\"M\""), std::string::npos) << ran.out;
    // A copy still starting has no countdown to tell.
    state.reset();
    EXPECT_EQ(Run(Action::query).out, "2:0:0 HMS\n");
}

TEST_F(CommandRunning, RequestsReachTheRunningCopyOrStartOne)
{
    // None runs: --set and --show start the program with the request, a plain
    // start without one, and --quit fails.
    const CommandRequest set{Action::set, "+0:02", unitHms};
    EXPECT_EQ(Run(set), (Ran{{}, "set\t4\t+0:02", "", ""}));
    EXPECT_EQ(Run(Action::show), (Ran{{}, "show", "", ""}));
    EXPECT_EQ(Run(Action::start), Ran{});
    EXPECT_EQ(Run(Action::quit), (Ran{1, {}, "", "Vostrel: no copy is running.\n"}));

    std::vector<QByteArray> received;
    SingleInstance copy(key);
    ASSERT_TRUE(copy.Start(
        {RemoteRequest::Kind::show, {}, {}},
        {[&received](const RemoteRequest& request) { received.push_back(request.Encode()); }, {}}));
    for (const CommandRequest& request :
         {set, CommandRequest{Action::show, {}, {}, {}}, CommandRequest{Action::quit, {}, {}, {}}})
        EXPECT_EQ(Run(request), (Ran{0, {}, "", ""}));
    EXPECT_TRUE(QTest::qWaitFor([&received] { return received.size() == 3; }, 5000));
    EXPECT_EQ(received, (std::vector<QByteArray>{"set\t4\t+0:02", "show", "quit"}));
    EXPECT_EQ(Run(Action::version), (Ran{0, {}, "Vostrel Version 5.0\n", ""}));
}

} // namespace
