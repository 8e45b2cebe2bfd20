#include "engine/CountdownText.h"

#include <gtest/gtest.h>

using namespace vostrel;

namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(IntervalText, HoursMayExceedADay)
{
    const std::pair<const char*, double> cases[] = {
        {" 3:45 ", 13500}, {"100:30", 361800}, {"1:30:15", 5415}, {"12345678:00", 12345678.0 * 3600}};
    for (const auto& [text, seconds] : cases) {
        const std::optional<double> days = ReadIntervalDays(text);
        ASSERT_TRUE(days.has_value()) << text;
        EXPECT_DOUBLE_EQ(*days, seconds * kSecond) << text;
    }
    for (const char* text :
         {"", "3", ":30", "3:60", "3:45:60", "+3:45", "3:045", "123456789:00", "3:45:", "1:2:3:4"})
        EXPECT_FALSE(ReadIntervalDays(text).has_value()) << text;
}

TEST(LeadingInteger, FollowsAtoiButClampsToThirtyTwoBits)
{
    const std::pair<const char*, std::int32_t> cases[] = {{"\t\n 12abc", 12},
                                                          {"+5", 5},
                                                          {"- 3", 0},
                                                          {"99999999999999999999", kMax},
                                                          {"-2147483648", kMin},
                                                          {"-99999999999999999999", kMin}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ReadLeadingInteger(text), value) << text;
}

TEST(TimeLeftText, FormatsEachUnitLikePrintf)
{
    const std::tuple<double, std::int32_t, const char*> cases[] = {
        {0.75, unitDays, "   1 Days"},
        {0.15625, unitHours, "    4 Hrs"},
        {0.15625, unitMinutes, "   225 Mins"},
        {0.5, unitSeconds, "  43200 Secs"},
        {7507 * kSecond, unitHms, "  2:5:7 HMS"},
        {-3725 * kSecond, unitHms, " -1:-2:-5 HMS"},
        {59.9 * kSecond, unitHms, "  0:0:59 HMS"},
        {0.5, 5, ""}};
    for (const auto& [days, unit, text] : cases)
        EXPECT_EQ(FormatTimeLeft(days, unit), text) << days << " days in unit " << unit;
}

} // namespace
