#include "OleDate.h"
#include "Clock.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace vostrel {
namespace {

using test::At;

constexpr double kSecond = 1.0 / 86400;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const test::FixedClock kClock(At(2026, 12, 6, 10)); // the year for texts that leave it out

OleDate Read(const std::string& text)
{
    OleDate date(36892.5);
    const bool read = date.ParseDateTime(text, kClock);
    EXPECT_EQ(read, date.IsValid()) << text.substr(0, 40);
    return date;
}

// Before the origin the whole part counts back while the fraction runs on.
TEST(OleDate, WritesAndReadsItsOwnFormBothWays)
{
    const std::pair<double, const char*> cases[] = {{0.0, "12/30/1899 00:00:00"},
                                                    {2.25, "01/01/1900 06:00:00"},
                                                    {-1.25, "12/29/1899 06:00:00"},
                                                    {60.0, "02/28/1900 00:00:00"},
                                                    {61.0, "03/01/1900 00:00:00"},
                                                    {35467.0 + 61509 * kSecond, "02/06/1997 17:05:09"},
                                                    {-657434.0, "01/01/0100 00:00:00"},
                                                    {-657434.5, "01/01/0100 12:00:00"},
                                                    {2958465.0 + 86399 * kSecond, "12/31/9999 23:59:59"}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(OleDate(value).Format(), text);
        EXPECT_NEAR(Read(text).GetValue(), value, 1e-9) << text;
    }
}

// Rounding is on continuous time: before the origin a moment a hair before
// midnight goes to the next day. The range's last half second rounds out
// of it, and what is not valid writes as nothing.
TEST(OleDate, WritesTheNearestSecond)
{
    const std::pair<double, const char*> cases[] = {
        {35795.5 + 0.6 * kSecond, "12/31/1997 12:00:01"}, {35795.5 + 0.4 * kSecond, "12/31/1997 12:00:00"},
        {35795.0 - 0.4 * kSecond, "12/31/1997 00:00:00"}, {36892.0 - 0.6 * kSecond, "12/31/2000 23:59:59"},
        {-(1.0 - 0.2 * kSecond), "12/31/1899 00:00:00"},  {2958466.0 - 0.3 * kSecond, ""}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(OleDate(value).Format(), text) << value;
    for (double value = -657434.0; value < 2958465.0; value += 7919.123456)
        ASSERT_NEAR((Read(OleDate(value).Format()) - OleDate(value)).GetTotalDays(), 0.0, 0.5 * kSecond)
            << value;
}

TEST(OleDate, ValuesOutsideTheRangeAreInvalid)
{
    OleDate date(kNaN);
    date = 36892.5;
    EXPECT_TRUE(date.IsValid());
    for (double outside : {-657435.0, 2958466.0, -1e300, kNaN, std::numeric_limits<double>::infinity()}) {
        date = outside;
        EXPECT_EQ(date.GetStatus(), DateStatus::invalid) << outside;
        EXPECT_EQ(date.Format(), "");
    }
    for (const DateTimeFields& f :
         std::initializer_list<DateTimeFields>{{2001, 2, 29}, {2001, 2, 28, 24}, {99, 12, 31}, {10000, 1, 1}})
        EXPECT_FALSE(OleDate::FromFields(f).IsValid()) << f.year;
}

TEST(OleDate, DifferenceUsesContinuousTime)
{
    EXPECT_DOUBLE_EQ((At(2001, 1, 1) - At(2000, 12, 31, 12)).GetTotalDays(), 0.5);
    EXPECT_DOUBLE_EQ((OleDate(2.25) - OleDate(-1.25)).GetTotalDays(), 3.0);
    EXPECT_DOUBLE_EQ((OleDate(-1.75) - OleDate(0.0)).GetTotalDays(), -0.25);
    EXPECT_DOUBLE_EQ((OleDate(-0.5) - OleDate(0.5)).GetTotalDays(), 0.0);
    const OleDateSpan fromInvalid = OleDate(kNaN) - At(2026, 12, 6);
    EXPECT_EQ(fromInvalid.GetStatus(), DateStatus::invalid);
    EXPECT_EQ(fromInvalid.GetTotalDays(), 0.0);
}

TEST(OleDate, ReadsDatesMonthFirstAndTimesAlone)
{
    const std::pair<const char*, const char*> cases[] = {{"12/06/2026", "12/06/2026 00:00:00"},
                                                         {"2/6/97", "02/06/1997 00:00:00"},
                                                         {"  12/6/2026 1:45:07 pm\t", "12/06/2026 13:45:07"},
                                                         {"1-2-1970", "01/02/1970 00:00:00"},
                                                         {"1/2/29", "01/02/2029 00:00:00"},
                                                         {"1/2/30", "01/02/1930 00:00:00"},
                                                         {"2/29/2028", "02/29/2028 00:00:00"},
                                                         {"12/31/97 12:59 AM", "12/31/1997 00:59:00"},
                                                         {"12/31", "12/31/2026 00:00:00"},
                                                         {"1/2 5 PM", "01/02/2026 17:00:00"},
                                                         {"Dec 31, 2027 5 PM", "12/31/2027 17:00:00"},
                                                         {"25 January 1996", "01/25/1996 00:00:00"},
                                                         {"SEPT. 3 2027 17:00", "09/03/2027 17:00:00"},
                                                         {"dec 31 5 pm", "12/31/2026 17:00:00"},
                                                         {"2013-05-14 02:04:12", "05/14/2013 02:04:12"},
                                                         {"2027-12-31T17:00", "12/31/2027 17:00:00"},
                                                         {"3:45:30", "12/30/1899 03:45:30"},
                                                         {"12:59 AM", "12/30/1899 00:59:00"}};
    for (const auto& [text, moment] : cases)
        EXPECT_EQ(Read(text).Format(), moment) << text;
}

// Besides words and impossible dates and times: intervals, which only the
// countdown reads, and texts beyond the reader's 16 tokens or 4 digits.
TEST(OleDate, UnreadableTextLeavesZeroAndInvalid)
{
    const auto refused = [](const std::string& text) {
        const OleDate date = Read(text);
        EXPECT_FALSE(date.IsValid()) << text.substr(0, 40);
        EXPECT_EQ(date.GetValue(), 0.0);
    };
    for (const char* text :
         {"", "   ", "abc", "5", "Dec", "Ma 3 2027", "\xe9t\xe9", "12/31/97\n\x01", "+3:45", "+0:30", "-3:45",
          "13/1/1970", "4/31/2027", "2/29/2001", "0/1/2001", "1/0/2001", "12/31/0097"})
        refused(text);
    for (const char* text : {"2027-13-01", "24:00", "10:60", "10:00:60", "3:45:30.5", "12/31/97 junk",
                             "1/2/3/4", "12/31/97 5", "1/2-1970", "99999/1/1", "12/31/97 13:00:00:00",
                             "12/31/97,", "1/2/02027", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17"})
        refused(text);
    refused(std::string(100000, '1'));
    std::string tokens;
    while (tokens.size() < 100000)
        tokens += "1 ";
    refused(tokens);
}

TEST(SystemClock, TicksJustAfterEachWholeSecondBegins)
{
    EXPECT_EQ(MillisecondsToNextSecond(0), 1005);
    EXPECT_EQ(MillisecondsToNextSecond(999), 6);
    EXPECT_EQ(MillisecondsToNextSecond(1300, 20), 720);
    const OleDate now = SystemClock().Now();
    ASSERT_TRUE(now.IsValid());
    const double seconds = OleDate::ToLinear(now.GetValue()) * 86400;
    EXPECT_NEAR(seconds, std::round(seconds), 1e-4);
    EXPECT_GT(now.GetFields()->year, 2000);
}

} // namespace
} // namespace vostrel
