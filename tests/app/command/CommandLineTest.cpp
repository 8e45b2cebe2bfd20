// The command line: what each form asks for, and one clear line for each
// mistake.
#include "app/command/CommandLine.h"

#include "engine/CountdownState.h"
#include "tests/support/FixedClock.h"

#include <gtest/gtest.h>

namespace vostrel {
namespace {

using Action = CommandRequest::Action;
using test::At;

CommandLineReading Read(QStringList arguments)
{
    const test::FixedClock clock(At(2026, 12, 8, 10, 0, 0));
    arguments.prepend(QStringLiteral("/usr/bin/Vostrel"));
    return ReadCommandLine(arguments, clock);
}

CommandRequest Request(const QStringList& arguments)
{
    const CommandLineReading reading = Read(arguments);
    EXPECT_TRUE(reading.request) << reading.error;
    return reading.request.value_or(CommandRequest{});
}

TEST(CommandLine, ReadsEachActionAndItsValues)
{
    EXPECT_EQ(Request({}).action, Action::start);
    EXPECT_EQ(Request({"-platform", "offscreen"}).action, Action::start);
    EXPECT_EQ(Request({"--show"}).action, Action::show);
    EXPECT_EQ(Request({"--quit"}).action, Action::quit);
    EXPECT_EQ(Request({"--help"}).action, Action::help);
    EXPECT_EQ(Request({"-h"}).action, Action::help);
    EXPECT_EQ(Request({"--version"}).action, Action::version);

    const CommandRequest interval = Request({"--set", "+3:45"});
    EXPECT_EQ(interval.action, Action::set);
    EXPECT_EQ(interval.target, "+3:45");
    EXPECT_FALSE(interval.unit);

    const CommandRequest both = Request({"--set=12/24/2026 18:00", "--unit", "hms"});
    EXPECT_EQ(both.target, "12/24/2026 18:00");
    EXPECT_EQ(both.unit, unitHms);
    const CommandRequest unitAlone = Request({"--unit", "M"});
    EXPECT_EQ(unitAlone.action, Action::set);
    EXPECT_FALSE(unitAlone.target);
    EXPECT_EQ(unitAlone.unit, unitMinutes);
    // After a plus sign, a time of day is an interval too, as in the window.
    EXPECT_EQ(Request({"--set", "+5 PM"}).target, "+5 PM");
    EXPECT_EQ(Request({"--unit", "D"}).unit, unitDays);
    EXPECT_EQ(Request({"--unit", "H"}).unit, unitHours);
    EXPECT_EQ(Request({"--unit", "s"}).unit, unitSeconds);
    // Latin-1 text the window's box takes as it is.
    EXPECT_EQ(Request({"--set", QString::fromLatin1("12/24/2026")}).target, "12/24/2026");

    EXPECT_EQ(Request({"--query"}).format, CommandRequest::Format::text);
    const CommandRequest json = Request({"--follow", "--format", "json"});
    EXPECT_EQ(json.action, Action::follow);
    EXPECT_EQ(json.format, CommandRequest::Format::json);
    EXPECT_EQ(Request({"--query", "--format=text"}).format, CommandRequest::Format::text);
}

TEST(CommandLine, EachMistakeIsOneLineThatSaysWhat)
{
    const QString huge(100000, u'9');
    const struct {
        QStringList arguments;
        std::string says;
    } mistakes[] = {
        {{"--frobnicate"}, "Vostrel: unknown option 'frobnicate'."},
        {{"--set"}, "Missing value after '--set'."},
        {{"--set", ""},
         "--set needs a target: a date (12/31/2026), a date and time (12/31/2026 17:30) or an "
         "interval from now (+3:45)."},
        {{"--set", "tomorrow"}, "cannot read the target 'tomorrow': give a date (12/31/2026)"},
        {{"--set", "+soon"}, "cannot read the target '+soon'"},
        {{"--set", "12/24/2026\t18:00"}, "cannot read the target"},
        {{"--set", QStringLiteral("12/24/2026 \u2013 18:00")}, "cannot read the target"},
        {{"--set", huge}, "the target is longer than 200 characters."},
        {{"--unit", "weeks"}, "unknown unit 'weeks': give D, H, M, S or HMS."},
        {{"--query", "--format", "xml"}, "unknown format 'xml': give text or json."},
        {{"--format", "json"}, "--format goes with --query or --follow."},
        {{"--set", "+1:00", "--format", "json"}, "--format goes with --query or --follow."},
        {{"--quit", "--set", "+1:00"}, "--quit and --set cannot go together."},
        {{"--query", "--follow"}, "--query and --follow cannot go together."},
        {{"--show", "--unit", "D"}, "--show and --unit cannot go together."},
        {{"12/24/2026"}, "unexpected argument '12/24/2026'."},
        {{""}, "unexpected argument ''."},
        {{huge}, "unexpected argument '9999999999999999999999999999999999999999...'."},
    };
    for (const auto& mistake : mistakes) {
        const CommandLineReading reading = Read(mistake.arguments);
        EXPECT_FALSE(reading.request) << mistake.arguments.join(u' ').left(60).toStdString();
        EXPECT_NE(reading.error.find(mistake.says), std::string::npos) << reading.error;
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
} // namespace vostrel
