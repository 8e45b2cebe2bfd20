// The command line: what each form asks for, and one clear line for each mistake.
#include "app/command/CommandLine.h"

#include "engine/CountdownState.h"
#include "tests/support/FixedClock.h"

#include <gtest/gtest.h>

using namespace vostrel;

namespace {

CommandLineReading Read(QStringList arguments)
{
    arguments.prepend(QStringLiteral("/usr/bin/Vostrel"));
    return ReadCommandLine(arguments, test::FixedClock(test::At(2026, 12, 8, 10, 0, 0)));
}

// A request as one line: action, target, unit and format, "-" for none.
std::string Described(const CommandRequest& r)
{
    static const char* const actions[] = {"start", "show",   "set",  "quit",
                                          "query", "follow", "help", "version"};
    return std::string(actions[static_cast<int>(r.action)]) + " " + r.target.value_or("-") + " " +
           (r.unit ? std::to_string(*r.unit) : "-") +
           (r.format == CommandRequest::Format::json ? " json" : " text");
}

// Each case is the arguments, split at |, and what they make: the request, or the line that says what is
// wrong. After a plus sign a time of day is an interval too, as in the window.
TEST(CommandLine, ReadsEachActionAndItsValues)
{
    for (const QString line :
         {" => start - - text", "-platform|offscreen => start - - text", "--show => show - - text",
          "--quit => quit - - text", "--help => help - - text", "-h => help - - text",
          "--version => version - - text", "--set|+3:45 => set +3:45 - text",
          "--set=12/24/2026 18:00|--unit|hms => set 12/24/2026 18:00 4 text", "--unit|M => set - 2 text",
          "--set|+5 PM => set +5 PM - text", "--unit|D => set - 0 text", "--unit|H => set - 1 text",
          "--unit|s => set - 3 text", "--set|12/24/2026 => set 12/24/2026 - text",
          "--query => query - - text", "--follow|--format|json => follow - - json",
          "--query|--format=text => query - - text"}) {
        const CommandLineReading reading = Read(line.section(" => ", 0, 0).split('|', Qt::SkipEmptyParts));
        ASSERT_TRUE(reading.request) << reading.error;
        EXPECT_EQ(Described(*reading.request), line.section(" => ", 1).toStdString()) << line.toStdString();
    }
}

TEST(CommandLine, EachMistakeIsOneLineThatSaysWhat)
{
    const QString huge(100000, u'9');
    std::vector<std::pair<QStringList, QString>> mistakes = {
        {{"--set", huge}, "the target is longer than 200 characters."},
        {{huge}, "unexpected argument '9999999999999999999999999999999999999999...'."}};
    for (const QString line :
         {"--frobnicate => Vostrel: unknown option 'frobnicate'.", "--set => Missing value after '--set'.",
          "--set| => --set needs a target: a date (12/31/2026), a date and time (12/31/2026 17:30) or an "
          "interval from now (+3:45).",
          "--set|tomorrow => cannot read the target 'tomorrow': give a date (12/31/2026)",
          "--set|+soon => cannot read the target '+soon'",
          "--set|12/24/2026\t18:00 => cannot read the target",
          "--set|12/24/2026 \u2013 18:00 => cannot read the target",
          "--unit|weeks => unknown unit 'weeks': give D, H, M, S or HMS.",
          "--query|--format|xml => unknown format 'xml': give text or json.",
          "--format|json => --format goes with --query or --follow.",
          "--set|+1:00|--format|json => --format goes with --query or --follow.",
          "--quit|--set|+1:00 => --quit and --set cannot go together.",
          "--query|--follow => --query and --follow cannot go together.",
          "--show|--unit|D => --show and --unit cannot go together.",
          "12/24/2026 => unexpected argument '12/24/2026'.", " => unexpected argument ''."})
        mistakes.emplace_back(line.section(" => ", 0, 0).split('|'), line.section(" => ", 1));
    for (const auto& [arguments, says] : mistakes) {
        const CommandLineReading reading = Read(arguments);
        EXPECT_FALSE(reading.request) << arguments.join(u' ').left(60).toStdString();
        EXPECT_NE(reading.error.find(says.toStdString()), std::string::npos) << reading.error;
        EXPECT_EQ(reading.error.rfind("Vostrel: ", 0), 0u) << reading.error;
        EXPECT_EQ(reading.error.find('\n'), std::string::npos) << reading.error;
        EXPECT_LT(reading.error.size(), 240u) << reading.error;
    }
}

TEST(CommandLine, HelpNamesTheProgramAndEveryOptionButQtsOwn)
{
    const std::string help = CommandLineHelp(QStringLiteral("Vostrel"));
    EXPECT_EQ(help.rfind("Usage: Vostrel [options]", 0), 0u) << help;
    for (const char* option : {"--show", "--set <target>", "--unit <unit>", "--quit", "--query", "--follow",
                               "--format <format>", "--help", "--version", "+3:45", "HMS", "json"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    EXPECT_EQ(help.find("platform"), std::string::npos);
}

} // namespace
