#include "CountdownEngine.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

namespace vostrel {
namespace {

using test::At;

const std::vector<std::string> kAlarm = {"Beep 1000 10", "ShowWindow", "LoadIconRange 132 133",
                                         "StartCycle 100 1"};

class Countdown : public testing::Test {
protected:
    Countdown() { host.clock.Set(At(2026, 12, 6, 10)); }

    // Types into the controls only, as the user would; the engine must take
    // them in itself.
    void Type(const std::string& target, const std::string& vacation = "0", std::int32_t unit = unitDays)
    {
        host.controls = {target, vacation, unit, ""};
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
    const std::pair<const char*, const char*> cases[] = {
        {"+3:45", "12/06/2026 13:45:00"},   {"+36:00", "12/07/2026 22:00:00"},
        {"+100:30", "12/10/2026 14:30:00"}, {"+1:30:15", "12/06/2026 11:30:15"},
        {"+5 PM", "12/07/2026 03:00:00"}, // read as a time of day
        {"+junk", "12/06/2026 10:00:00"}, // unreadable: counts as no time
        {" +3:45", "12/06/2026 10:00:00"} // only the first character is dropped: "+3:45" does not read
    };
    for (const auto& [typed, end] : cases) {
        Type(typed);
        engine.ResolveTarget();
        EXPECT_EQ(host.controls.endDate, end) << typed;
    }
    Type("+3:45", "0", unitHms);
    engine.ResolveTarget();
    EXPECT_EQ(host.controls.display, "  3:45:0 HMS");
    EXPECT_EQ(host.calls.back(), "ChangeTip   3:45:0 HMS");
    EXPECT_FALSE(AlarmRaised());
}

TEST_F(Countdown, AlarmStartsOnlyOnceTheEndHasPassed)
{
    Type("12/06/2026 10:00:00");
    engine.ResolveTarget();
    EXPECT_FALSE(AlarmRaised());
    EXPECT_FALSE(state.m_bVisible);

    host.calls.clear();
    host.clock.Set(At(2026, 12, 6, 10, 0, 1));
    engine.RefreshDisplay();
    EXPECT_TRUE(state.m_bVisible);
    const std::vector<std::string> expected = {
        "ExchangeIn", kAlarm[0], kAlarm[1], kAlarm[2], kAlarm[3], "ExchangeOut", "ChangeTip   -0 Days"};
    EXPECT_EQ(host.calls, expected);
    // An unreadable target counts as the origin, long past.
    Type("next friday");
    engine.ResolveTarget();
    EXPECT_EQ(host.controls.display, "-46362 Days");
}

TEST_F(Countdown, HmsShowsEveryWholeSecondAsTheClockTicks)
{
    // Both moments are whole seconds; the rounding of their day fractions
    // must not make the truncation skip or repeat a second.
    Type("12/07/2026 13:45:00", "0", unitHms);
    engine.ResolveTarget();
    for (int elapsed = 0; elapsed < 3600; elapsed += 7) {
        host.clock.Set(At(2026, 12, 6, 10, elapsed / 60, elapsed % 60));
        engine.RefreshDisplay();
        const int left = 27 * 3600 + 45 * 60 - elapsed;
        ASSERT_EQ(host.controls.display, " " + std::to_string(left / 3600) + ":" +
                                             std::to_string(left % 3600 / 60) + ":" +
                                             std::to_string(left % 60) + " HMS")
            << elapsed;
    }
    // Far beyond what 32-bit seconds hold, still exact.
    host.clock.Set(At(2026, 12, 6, 10));
    Type("12/31/9999 23:59:59", "0", unitHms);
    engine.ResolveTarget();
    EXPECT_EQ(host.controls.display, "69890485:59:59 HMS");
}

TEST_F(Countdown, VacationTakesTheNumberJustTypedInWorkingDaysOffTheTarget)
{
    const OleDate now = host.clock.Now();
    const std::tuple<double, const char*, double> cases[] = {
        {365.25, "1", 117.0}, {365.25, "5", 121.0}, {730.5, "20", 272.0},  {730.5, "0", 0.0},
        {730.5, "ab", 0.0},   {730.5, "-3", 0.0},   {-365.25, "4", -120.0}};
    for (const auto& [daysLeft, vacation, adjust] : cases) {
        Type(OleDate(now.GetValue() + daysLeft).Format(), vacation);
        engine.ComputeVacationAdjust();
        EXPECT_NEAR(state.m_dVacAdjust, adjust, 1e-9) << vacation;
        EXPECT_NEAR((state.m_EndTime - now).GetTotalDays(), daysLeft - adjust, 1e-6) << vacation;
    }
    // A new target alone keeps the adjustment.
    Type("12/06/2028 10:00:00", "4");
    engine.ResolveTarget();
    EXPECT_NEAR(state.m_EndTime.GetValue(), At(2028, 12, 6, 10).GetValue() + 120.0, 1e-9);
    // An interval is not yet a date when the adjustment is worked out.
    Type("+3:45", "20", unitMinutes);
    engine.ComputeVacationAdjust();
    EXPECT_EQ(state.m_dVacAdjust, 0.0);
    EXPECT_EQ(host.controls.display, "   225 Mins");
}

} // namespace
} // namespace vostrel
