#include "CountdownEngine.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vostrel {
namespace {

using test::At;

const std::vector<std::string> kAlarm = {"Beep 1000 10", "ShowWindow", "LoadIconRange 132 133",
                                         "StartCycle 100 1"};

class Countdown : public testing::Test {
protected:
    Countdown()
    {
        host.clock.Set(At(2026, 12, 6, 10));
        host.controls = {"01/01/2027", "0", unitDays, ""};
    }

    // Types into the controls, as the user would, and leaves the fields alone.
    void Type(const std::string& target, const std::string& vacation = "0", std::int32_t unit = unitDays)
    {
        host.controls.endDate = target;
        host.controls.vacDays = vacation;
        host.controls.unit = unit;
    }

    bool AlarmRaised() const
    {
        return std::search(host.calls.begin(), host.calls.end(), kAlarm.begin(), kAlarm.end()) !=
               host.calls.end();
    }

    CountdownState state;
    test::RecordingCollaborator host{state};
    CountdownEngine engine{state, host};
};

TEST_F(Countdown, IntervalCountsFromNowAndIsWrittenBack)
{
    Type("+3:45", "0", unitHours);
    engine.ResolveTarget();
    EXPECT_EQ(host.controls.endDate, "12/06/2026 13:45:00");
    EXPECT_EQ(host.controls.display, "    4 Hrs");
    EXPECT_FALSE(AlarmRaised());
    host.controls.unit = unitSeconds;
    engine.RefreshDisplay();
    EXPECT_EQ(host.controls.display, "  13500 Secs");
    host.controls.unit = unitHms;
    engine.RefreshDisplay();
    EXPECT_EQ(host.controls.display, "  3:45:0 HMS");
    EXPECT_EQ(host.calls.back(), "ChangeTip   3:45:0 HMS");
}

TEST_F(Countdown, OnlyTheFirstCharacterOfAnIntervalIsDropped)
{
    // With a leading blank the rest still begins with "+", which does not
    // read: the interval counts as no time and the end is now.
    Type(" +3:45", "0", unitHours);
    engine.ResolveTarget();
    EXPECT_EQ(host.controls.endDate, "12/06/2026 10:00:00");
    EXPECT_EQ(host.controls.display, "    0 Hrs");
}

TEST_F(Countdown, IntervalsMayRunPastADay)
{
    const struct {
        const char* typed;
        const char* end;
    } cases[] = {{"+36:00", "12/07/2026 22:00:00"},   {"+100:30", "12/10/2026 14:30:00"},
                 {"+1:30:15", "12/06/2026 11:30:15"}, {"+0:30", "12/06/2026 10:30:00"},
                 {"+5 PM", "12/07/2026 03:00:00"},  // read as a time of day
                 {"+junk", "12/06/2026 10:00:00"}}; // unreadable: counts as no time
    for (const auto& c : cases) {
        Type(c.typed);
        engine.ResolveTarget();
        EXPECT_EQ(host.controls.endDate, c.end) << c.typed;
    }
}

TEST_F(Countdown, AlarmStartsOnlyOnceTheEndHasPassed)
{
    Type("12/06/2026 10:00:00");
    engine.ResolveTarget();
    EXPECT_FALSE(AlarmRaised());
    EXPECT_FALSE(state.m_bVisible);
    EXPECT_EQ(host.controls.display, "   0 Days");

    host.calls.clear();
    host.clock.Set(At(2026, 12, 6, 10, 0, 1));
    engine.RefreshDisplay();
    EXPECT_TRUE(state.m_bVisible);
    const std::vector<std::string> expected = {
        "ExchangeIn", kAlarm[0], kAlarm[1], kAlarm[2], kAlarm[3], "ExchangeOut", "ChangeTip   -0 Days"};
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(host.controls.display, "  -0 Days");

    host.controls.unit = unitHms;
    host.clock.Set(At(2026, 12, 6, 11, 2, 5));
    engine.RefreshDisplay();
    EXPECT_EQ(host.controls.display, " -1:-2:-5 HMS");
}

TEST_F(Countdown, HmsShowsEveryWholeSecondAsTheClockTicks)
{
    // Both moments are whole seconds; the subtraction's rounding must not
    // make the truncation skip or repeat a second.
    Type("12/07/2026 13:45:00", "0", unitHms);
    engine.ResolveTarget();
    for (int elapsed = 0; elapsed < 3600; elapsed += 7) {
        host.clock.Set(At(2026, 12, 6, 10, elapsed / 60, elapsed % 60));
        engine.RefreshDisplay();
        const int left = 27 * 3600 + 45 * 60 - elapsed;
        const std::string hours = std::to_string(left / 3600);
        const std::string expected = std::string(3 - hours.size(), ' ') + hours + ":" +
                                     std::to_string(left % 3600 / 60) + ":" + std::to_string(left % 60) +
                                     " HMS";
        ASSERT_EQ(host.controls.display, expected) << elapsed;
    }
}

TEST_F(Countdown, UnreadableTargetCountsAsLongExpired)
{
    Type("next friday");
    engine.ResolveTarget();
    EXPECT_TRUE(AlarmRaised());
    EXPECT_DOUBLE_EQ(state.m_EndTime.GetValue(), 0.0);
    EXPECT_EQ(host.controls.display, "-46362 Days");
}

TEST_F(Countdown, UnknownUnitShowsNothingButStillAlarms)
{
    Type("12/01/2026", "0", 9);
    engine.ResolveTarget();
    EXPECT_EQ(host.controls.display, "");
    EXPECT_EQ(host.calls.back(), "ChangeTip ");
    EXPECT_TRUE(AlarmRaised());
}

TEST_F(Countdown, VacationTakesWorkingDaysOffTheTarget)
{
    const OleDate now = host.clock.Now();
    const struct {
        double daysLeft;
        const char* vacation;
        double adjust;
    } cases[] = {{365.25, "1", 117.0}, {730.5, "20", 272.0}, {730.5, "0", 0.0},     {730.5, "", 0.0},
                 {730.5, "ab", 0.0},   {730.5, "-3", 0.0},   {-365.25, "4", -120.0}};
    for (const auto& c : cases) {
        Type(OleDate(now.GetValue() + c.daysLeft).Format(), c.vacation);
        engine.ComputeVacationAdjust();
        EXPECT_NEAR(state.m_dVacAdjust, c.adjust, 1e-9) << c.vacation;
        EXPECT_NEAR((state.m_EndTime - now).GetTotalDays(), c.daysLeft - c.adjust, 1e-6) << c.vacation;
    }
}

TEST_F(Countdown, LeavingTheVacationBoxAppliesTheNumberJustTyped)
{
    const OleDate now = host.clock.Now();
    Type(OleDate(now.GetValue() + 365.25).Format(), "5");
    engine.ComputeVacationAdjust();
    EXPECT_NEAR(state.m_dVacAdjust, 121.0, 1e-9);
    host.controls.vacDays = "20";
    engine.ComputeVacationAdjust();
    EXPECT_NEAR(state.m_dVacAdjust, 136.0, 1e-9);
}

TEST_F(Countdown, EditingTheTargetAloneReusesTheAdjustment)
{
    Type("12/06/2027 10:00:00", "20");
    engine.ComputeVacationAdjust();
    const double adjust = state.m_dVacAdjust;
    ASSERT_GT(adjust, 0.0);
    Type("12/06/2028 10:00:00", "20");
    engine.ResolveTarget();
    EXPECT_EQ(state.m_dVacAdjust, adjust);
    EXPECT_NEAR(state.m_EndTime.GetValue(), At(2028, 12, 6, 10).GetValue() - adjust, 1e-9);
}

TEST_F(Countdown, IntervalSeenByTheVacationStepGivesNoAdjustment)
{
    Type("+3:45", "20", unitMinutes);
    engine.ComputeVacationAdjust();
    EXPECT_EQ(state.m_dVacAdjust, 0.0);
    EXPECT_EQ(host.controls.endDate, "12/06/2026 13:45:00");
    EXPECT_EQ(host.controls.display, "   225 Mins");
}

TEST_F(Countdown, LongSpansShowExactHoursMinutesSeconds)
{
    Type("12/31/9999 23:59:59", "0", unitHms);
    engine.ResolveTarget();
    const std::int64_t seconds =
        (std::int64_t{2958465} - 46362) * 86400 + 23 * 3600 + 59 * 60 + 59 - 10 * 3600;
    EXPECT_EQ(host.controls.display, std::to_string(seconds / 3600) + ":" +
                                         std::to_string(seconds % 3600 / 60) + ":" +
                                         std::to_string(seconds % 60) + " HMS");
}

} // namespace
} // namespace vostrel
