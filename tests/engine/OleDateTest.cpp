#include "engine/OleDate.h"
#include "tests/support/FixedClock.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

using namespace vostrel;

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
TEST(OleDate, WritesAndReadsItsOwnFormAndMeasuresSpansOnBothSidesOfTheOrigin)
{
    const std::pair<double, const char*> cases[] = {{0.0, "12/30/1899 00:00:00"},
                                                    {-1.25, "12/29/1899 06:00:00"},
                                                    {60.0, "02/28/1900 00:00:00"},
                                                    {61.0, "03/01/1900 00:00:00"},
                                                    {35467.0 + 61509 * kSecond, "02/06/1997 17:05:09"},
                                                    {-657434.5, "01/01/0100 12:00:00"},
                                                    {2958465.0 + 86399 * kSecond, "12/31/9999 23:59:59"}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(OleDate(value).Format(), text);
        EXPECT_NEAR(Read(text).GetValue(), value, 1e-9) << text;
    }

    // A span is the time between two moments on the line, also where one or both
    // lie before the origin and their stored values run otherwise.
    const struct {
        double later, earlier, days;
    } spans[] = {{0.0, -1.25, 0.75}, {-1.75, -1.25, 0.5}, {1.5, -1.5, 2.0}, {-2.0, 0.5, -2.5}};
    for (const auto& c : spans) {
        const OleDateSpan span = OleDate(c.later) - OleDate(c.earlier);
        EXPECT_NEAR(span.GetTotalSeconds(), c.days * 86400, 1e-3) << c.later << " - " << c.earlier;
    }
}

TEST(OleDate, ValuesOutsideTheRangeAreInvalid)
{
    OleDate date;
    for (double outside : {-657435.0, 2958466.0, -1e300, kNaN, std::numeric_limits<double>::infinity()}) {
        date = outside;
        EXPECT_EQ(date.GetStatus(), DateStatus::invalid) << outside;
        EXPECT_EQ(date.Format(), "");
    }
    for (const DateTimeFields& f :
         std::initializer_list<DateTimeFields>{{2001, 2, 29}, {2001, 2, 28, 24}, {99, 12, 31}, {10000, 1, 1}})
        EXPECT_FALSE(OleDate::FromFields(f).IsValid()) << f.year;
}

TEST(OleDate, ReadsDatesMonthFirstAndTimesAloneAndLeavesZeroAndInvalidForAnythingElse)
{
    for (const std::string line :
         {"  12/6/2026 1:45:07 pm\t => 12/06/2026 13:45:07", "1-2-1970 => 01/02/1970 00:00:00",
          "1/2/29 => 01/02/2029 00:00:00", "1/2/30 => 01/02/1930 00:00:00",
          "2/29/2028 => 02/29/2028 00:00:00", "12/31 => 12/31/2026 00:00:00",
          "Dec 31, 2027 5 PM => 12/31/2027 17:00:00", "Dec 31 5 PM => 12/31/2026 17:00:00",
          "31 Dec 17:30 => 12/31/2026 17:30:00", "25 January 1996 => 01/25/1996 00:00:00",
          "SEPT. 3 2027 17:00 => 09/03/2027 17:00:00", "2027-12-31T17:00 => 12/31/2027 17:00:00",
          "3:45:30 => 12/30/1899 03:45:30", "12:59 AM => 12/30/1899 00:59:00",
          "12:59 PM => 12/30/1899 12:59:00"}) {
        const std::string text = line.substr(0, line.find(" => ")),
                          moment = line.substr(line.find(" => ") + 4);
        EXPECT_EQ(Read(text).Format(), moment) << text;
    }

    // Besides words and impossible dates and times: intervals, which only the
    // countdown reads, and texts beyond the reader's 16 tokens or 4 digits.
    std::vector<std::string> texts = {"",         "abc",       "5",          "Ma 3 2027", "+3:45",
                                      "-3:45",    "13/1/1970", "2/29/2001",  "0/1/2001",  "12/31/0097",
                                      "24:00",    "10:60",     "12/31/97 5", "3:45:30.5", "12/31/97 junk",
                                      "1/2-1970", "99999/1/1", "1/2/02027"};
    texts.insert(texts.end(), {"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17", std::string(100000, '1')});
    for (const std::string& text : texts) {
        const OleDate date = Read(text);
        EXPECT_FALSE(date.IsValid()) << text.substr(0, 40);
        EXPECT_EQ(date.GetValue(), 0.0);
    }
}

// The window runs in the user's locale; in a Turkish one the C library's
// tolower leaves 'I' as it is (its small letter is the dotless one), so the
// capital I of APRIL must still read as i.
TEST(OleDate, ReadsMonthNamesInCapitalsInATurkishLocale)
{
    const std::string previous = std::setlocale(LC_CTYPE, nullptr);
    if (!std::setlocale(LC_CTYPE, "tr_TR.UTF-8"))
        GTEST_SKIP() << "the tr_TR.UTF-8 locale is not installed";
    const std::string capitals = Read("APRIL 5, 2027 5 PM").Format(), small = Read("apr 5, 2027").Format();
    std::setlocale(LC_CTYPE, previous.c_str());
    EXPECT_EQ(capitals, "04/05/2027 17:00:00");
    EXPECT_EQ(small, "04/05/2027 00:00:00");
}

} // namespace
