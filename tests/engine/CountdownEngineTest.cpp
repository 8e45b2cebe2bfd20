#include "engine/CountdownEngine.h"
#include "tests/support/RecordingCollaborator.h"

#include <gtest/gtest.h>

using namespace vostrel;

namespace {

using test::At;

class Countdown : public testing::Test {
protected:
    Countdown() { host.clock.now = At(2026, 12, 6, 10); }

    // Types into the controls only, as the user would; the engine must take them in itself.
    void Type(const std::string& target, const std::string& vacation = "0", std::int32_t unit = unitDays)
    {
        host.controls = {target, vacation, unit, ""};
    }

    CountdownState state;
    test::RecordingCollaborator host{state};
    CountdownEngine engine{state, host};
};

TEST_F(Countdown, IntervalsCountFromNowAndHmsShowsTheExactWholeSecondsOfAnySpan)
{
    const std::pair<const char*, const char*> cases[] = {
        {"+36:00", "12/07/2026 22:00:00"},   {"+100:30", "12/10/2026 14:30:00"},
        {"+1:30:15", "12/06/2026 11:30:15"}, {"+5 PM", "12/07/2026 03:00:00"}, // read as a time of day
        {"+junk", "12/06/2026 10:00:00"}, // unreadable: counts as no time
        {" +3:45", "12/06/2026 10:00:00"} // only the first character is dropped: "+3:45" does not read
    };
    for (const auto& [typed, end] : cases) {
        Type(typed);
        engine.ResolveTarget();
        EXPECT_EQ(host.controls.endDate, end) << typed;
    }

    // Both moments are whole seconds, but their day fractions differ by a hair
    // less than the span: the truncation must not lose a second to it.
    host.clock.now = At(2026, 12, 6, 10, 0, 1);
    Type("12/07/2026 13:45:00", "0", unitHms);
    engine.ResolveTarget();
    EXPECT_EQ(host.controls.display, " 27:44:59 HMS");
    // Far beyond what 32-bit seconds hold, still exact.
    Type("12/31/9999 23:59:59", "0", unitHms);
    engine.ResolveTarget();
    EXPECT_EQ(host.controls.display, "69890485:59:58 HMS");
}

TEST_F(Countdown, AlarmStartsOnlyOnceTheEndHasPassed)
{
    Type("12/06/2026 10:00:00");
    engine.ResolveTarget();
    EXPECT_FALSE(state.m_bVisible); // the end itself is not past

    host.calls.clear();
    host.clock.now = At(2026, 12, 6, 10, 0, 1);
    engine.RefreshDisplay();
    EXPECT_TRUE(state.m_bVisible);
    const std::vector<std::string> expected = {
        "ExchangeIn",       "Beep 1000 10", "ShowWindow",         "LoadIconRange 132 133",
        "StartCycle 100 1", "ExchangeOut",  "ChangeTip   -0 Days"};
    EXPECT_EQ(host.calls, expected);
}

TEST_F(Countdown, VacationTakesTheNumberJustTypedInWorkingDaysOffTheTarget)
{
    const OleDate now = host.clock.Now();
    const std::tuple<double, const char*, double> cases[] = {
        {365.25, "1", 117.0}, {730.5, "20", 272.0}, {730.5, "0", 0.0}, {-365.25, "4", -120.0}};
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
}

} // namespace
