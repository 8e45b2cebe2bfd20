#include "OleDate.h"
#include "Clock.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vostrel {
namespace {

using test::At;

constexpr double kSecond = 1.0 / 86400;

TEST(OleDate, FreshValuesAreZeroAndValid)
{
    EXPECT_EQ(OleDate().GetValue(), 0.0);
    EXPECT_EQ(OleDate().GetStatus(), DateStatus::valid);
    EXPECT_EQ(OleDateSpan().GetTotalDays(), 0.0);
    EXPECT_EQ(OleDateSpan().GetStatus(), DateStatus::valid);
}

struct Encoding {
    DateTimeFields fields;
    double value;
};

void PrintTo(const Encoding& e, std::ostream* os)
{
    *os << e.fields.year << '-' << e.fields.month << '-' << e.fields.day << ' ' << e.fields.hour
        << "h = " << e.value;
}

class OleDateEncoding : public testing::TestWithParam<Encoding> {};

TEST_P(OleDateEncoding, FieldsAndValueConvertBothWays)
{
    const Encoding& e = GetParam();
    const OleDate date = OleDate::FromFields(e.fields);
    EXPECT_TRUE(date.IsValid());
    EXPECT_NEAR(date.GetValue(), e.value, 1e-9);
    const std::optional<DateTimeFields> back = OleDate(e.value).GetFields();
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->year, e.fields.year);
    EXPECT_EQ(back->month, e.fields.month);
    EXPECT_EQ(back->day, e.fields.day);
    EXPECT_EQ(back->hour * 3600 + back->minute * 60 + back->second,
              e.fields.hour * 3600 + e.fields.minute * 60 + e.fields.second);
}

INSTANTIATE_TEST_SUITE_P(WorkedValues, OleDateEncoding,
                         testing::Values(Encoding{{1899, 12, 30}, 0.0}, Encoding{{1899, 12, 31}, 1.0},
                                         Encoding{{1900, 1, 1, 6}, 2.25}, Encoding{{1899, 12, 29, 6}, -1.25},
                                         Encoding{{1899, 12, 29}, -1.0}, Encoding{{1900, 2, 28}, 60.0},
                                         Encoding{{1900, 3, 1}, 61.0}, Encoding{{1970, 1, 13}, 25581.0},
                                         Encoding{{1997, 12, 31, 12}, 35795.5},
                                         Encoding{{2001, 1, 1}, 36892.0}, Encoding{{100, 1, 1}, -657434.0},
                                         Encoding{{100, 1, 1, 12}, -657434.5},
                                         Encoding{{9999, 12, 31, 23, 59, 59}, 2958465.0 + 86399 * kSecond}));

TEST(OleDate, AssignmentValidatesTheRange)
{
    OleDate date;
    date.SetStatus(DateStatus::invalid);
    date = 36892.5;
    EXPECT_TRUE(date.IsValid());
    EXPECT_EQ(date.GetValue(), 36892.5);
    for (double outside : {-657435.0, 2958466.0, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity()}) {
        date = outside;
        EXPECT_EQ(date.GetStatus(), DateStatus::invalid) << outside;
        EXPECT_EQ(date.Format(), "");
    }
    EXPECT_EQ(OleDate::FromFields({2001, 2, 29}).GetStatus(), DateStatus::invalid);
    EXPECT_EQ(OleDate::FromFields({2001, 2, 28, 24}).GetStatus(), DateStatus::invalid);
    EXPECT_EQ(OleDate::FromFields({99, 12, 31}).GetStatus(), DateStatus::invalid);
    EXPECT_EQ(OleDate::FromFields({10000, 1, 1}).GetStatus(), DateStatus::invalid);
}

TEST(OleDate, DifferenceUsesLinearValuesAndPropagatesStatus)
{
    EXPECT_DOUBLE_EQ((At(2001, 1, 1) - At(2000, 12, 31, 12)).GetTotalDays(), 0.5);
    EXPECT_DOUBLE_EQ((OleDate(2.25) - OleDate(-1.25)).GetTotalDays(), 3.0);
    EXPECT_DOUBLE_EQ((OleDate(-1.75) - OleDate(0.0)).GetTotalDays(), -0.25);
    EXPECT_DOUBLE_EQ((OleDate(-0.5) - OleDate(0.5)).GetTotalDays(), 0.0);

    OleDate invalid;
    invalid.SetStatus(DateStatus::invalid);
    OleDate null;
    null.SetStatus(DateStatus::null);
    const OleDate valid = At(2026, 12, 6);
    for (const OleDateSpan& span : {valid - invalid, invalid - valid}) {
        EXPECT_EQ(span.GetStatus(), DateStatus::invalid);
        EXPECT_EQ(span.GetTotalDays(), 0.0);
    }
    for (const OleDateSpan& span : {valid - null, null - invalid, invalid - null}) {
        EXPECT_EQ(span.GetStatus(), DateStatus::null);
        EXPECT_EQ(span.GetTotalDays(), 0.0);
    }
}

TEST(OleDate, WritesTheStandardFormRoundedToTheNearestSecond)
{
    EXPECT_EQ(At(1997, 2, 6, 17, 5, 9).Format(), "02/06/1997 17:05:09");
    EXPECT_EQ(OleDate(-1.25).Format(), "12/29/1899 06:00:00");
    EXPECT_EQ(OleDate(35795.5 + 0.6 * kSecond).Format(), "12/31/1997 12:00:01");
    EXPECT_EQ(OleDate(35795.5 + 0.4 * kSecond).Format(), "12/31/1997 12:00:00");
    EXPECT_EQ(OleDate(35795.0 - 0.4 * kSecond).Format(), "12/31/1997 00:00:00");
    EXPECT_EQ(OleDate(36892.0 - 0.6 * kSecond).Format(), "12/31/2000 23:59:59");
    // Before the origin a moment a hair before midnight rounds to the next
    // day, not back to the start of its own.
    EXPECT_EQ(OleDate(-(1.0 - 0.2 * kSecond)).Format(), "12/31/1899 00:00:00");
    EXPECT_EQ(OleDate(-657434.0).Format(), "01/01/0100 00:00:00");
    // The last half second of the range would round out of it.
    EXPECT_EQ(OleDate(2958466.0 - 0.3 * kSecond).Format(), "");
}

TEST(OleDate, WrittenTextReadsBackAsTheSameMoment)
{
    const test::FixedClock clock(At(2026, 12, 6));
    for (double value = -657434.0; value < 2958465.0; value += 7919.123456) {
        const OleDate written(value);
        OleDate read;
        ASSERT_TRUE(read.ParseDateTime(written.Format(), clock)) << written.Format();
        ASSERT_NEAR((read - written).GetTotalDays(), 0.0, 0.5 * kSecond) << written.Format();
    }
}

TEST(SystemClock, TicksAreScheduledJustAfterEachSecondBegins)
{
    EXPECT_EQ(MillisecondsToNextSecond(0), 1005);
    EXPECT_EQ(MillisecondsToNextSecond(300), 705);
    EXPECT_EQ(MillisecondsToNextSecond(999), 6);
    EXPECT_EQ(MillisecondsToNextSecond(1300, 20), 720);
    const int into = SystemClock().MillisecondsIntoSecond();
    EXPECT_GE(into, 0);
    EXPECT_LT(into, 1000);
}

TEST(SystemClock, GivesWholeSecondsOfToday)
{
    const OleDate now = SystemClock().Now();
    ASSERT_TRUE(now.IsValid());
    const double seconds = OleDate::ToLinear(now.GetValue()) * 86400;
    EXPECT_NEAR(seconds, std::round(seconds), 1e-4);
    EXPECT_GT(now.GetFields()->year, 2000);
}

} // namespace
} // namespace vostrel
