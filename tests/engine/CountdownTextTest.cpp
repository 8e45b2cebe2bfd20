#include "CountdownText.h"

#include <gtest/gtest.h>

#include <limits>

namespace vostrel {
namespace {

constexpr double kSecond = 1.0 / 86400;

TEST(IntervalText, HoursMayExceedADay)
{
    const struct {
        const char* text;
        int seconds;
    } cases[] = {{"3:45", 13500},    {" 3:45 ", 13500}, {"0:30", 1800},      {"36:00", 129600},
                 {"100:30", 361800}, {"1:30:15", 5415}, {"03:05:09", 11109}, {"12345678:00", 0}};
    for (const auto& c : cases) {
        const std::optional<double> days = ReadIntervalDays(c.text);
        ASSERT_TRUE(days.has_value()) << c.text;
        const double expected = c.seconds ? c.seconds * kSecond : 12345678.0 / 24;
        EXPECT_DOUBLE_EQ(*days, expected) << c.text;
    }
    for (const char* text : {"", "3", "3:", ":30", "3:60", "3:45:60", "+3:45", "-1:00", "3:45 PM", "3:045",
                             "123456789:00", "3:45:", "3:4x", "1:2:3:4"})
        EXPECT_FALSE(ReadIntervalDays(text).has_value()) << text;
}

TEST(LeadingInteger, FollowsAtoiButClampsToThirtyTwoBits)
{
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {{" 12abc", 12},
                 {"-3", -3},
                 {"", 0},
                 {"abc", 0},
                 {"+5", 5},
                 {"- 3", 0},
                 {"1e3", 1},
                 {"\t\n 20", 20},
                 {"2147483647", std::numeric_limits<std::int32_t>::max()},
                 {"99999999999999999999", std::numeric_limits<std::int32_t>::max()},
                 {"-2147483648", std::numeric_limits<std::int32_t>::min()},
                 {"-99999999999999999999", std::numeric_limits<std::int32_t>::min()}};
    for (const auto& c : cases)
        EXPECT_EQ(ReadLeadingInteger(c.text), c.value) << c.text;
}

struct Shown {
    double days;
    std::int32_t unit;
    const char* text;
};

void PrintTo(const Shown& s, std::ostream* os)
{
    *os << s.days << " days in unit " << s.unit;
}

class TimeLeftText : public testing::TestWithParam<Shown> {};

TEST_P(TimeLeftText, FormatsLikePrintf)
{
    EXPECT_EQ(FormatTimeLeft(GetParam().days, GetParam().unit), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Units, TimeLeftText,
    testing::Values(Shown{0.75, unitDays, "   1 Days"}, Shown{-kSecond, unitDays, "  -0 Days"},
                    Shown{12345.4, unitDays, "12345 Days"}, Shown{0.15625, unitHours, "    4 Hrs"},
                    Shown{0.15625, unitMinutes, "   225 Mins"}, Shown{0.5, unitSeconds, "  43200 Secs"},
                    Shown{-1e-12, unitSeconds, "     -0 Secs"}, Shown{0.5, unitHms, " 12:0:0 HMS"},
                    Shown{7507 * kSecond, unitHms, "  2:5:7 HMS"},
                    Shown{-3725 * kSecond, unitHms, " -1:-2:-5 HMS"}, Shown{0.15625, unitHms, "  3:45:0 HMS"},
                    Shown{59.9 * kSecond, unitHms, "  0:0:59 HMS"}, Shown{0.5, 5, ""}, Shown{0.5, -1, ""},
                    Shown{0.5, 9, ""}));

// Spans beyond 24,855 days no longer fit 32-bit seconds; they stay exact.
INSTANTIATE_TEST_SUITE_P(LongSpans, TimeLeftText,
                         testing::Values(Shown{30000.0, unitHms, "720000:0:0 HMS"},
                                         Shown{-3615890.5, unitHms, "-86781372:0:0 HMS"},
                                         Shown{2958465.0 + 3725 * kSecond, unitHms, "71003161:2:5 HMS"}));

} // namespace
} // namespace vostrel
