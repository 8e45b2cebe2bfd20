#include "EngineTestSupport.h"
#include "OleDate.h"

#include <gtest/gtest.h>

namespace vostrel {
namespace {

using test::At;

// The current year for texts that leave it out.
const test::FixedClock kClock(At(2026, 12, 6, 10));

struct Reading {
    const char* text;
    OleDate expected;
};

void PrintTo(const Reading& r, std::ostream* os)
{
    *os << '"' << r.text << '"';
}

OleDate TimeOfDay(int hour, int minute, int second = 0)
{
    return OleDate((hour * 3600 + minute * 60 + second) / 86400.0);
}

class ReadableText : public testing::TestWithParam<Reading> {};

TEST_P(ReadableText, ReadsAsTheMoment)
{
    OleDate date;
    date.SetStatus(DateStatus::invalid);
    ASSERT_TRUE(date.ParseDateTime(GetParam().text, kClock));
    EXPECT_TRUE(date.IsValid());
    EXPECT_DOUBLE_EQ(date.GetValue(), GetParam().expected.GetValue());
}

INSTANTIATE_TEST_SUITE_P(
    MonthFirstDates, ReadableText,
    testing::Values(Reading{"2/6/97", At(1997, 2, 6)}, Reading{"12/31/97 5 PM", At(1997, 12, 31, 17)},
                    Reading{"01/01/2001", At(2001, 1, 1)}, Reading{"01/01/2001 00:00:00", At(2001, 1, 1)},
                    Reading{"12/06/2026 13:45:00", At(2026, 12, 6, 13, 45)},
                    Reading{"  12/6/2026 1:45:07 pm\t", At(2026, 12, 6, 13, 45, 7)},
                    Reading{"1-2-1970", At(1970, 1, 2)}, Reading{"12/30/91", At(1991, 12, 30)},
                    Reading{"1/2/29", At(2029, 1, 2)}, Reading{"1/2/30", At(1930, 1, 2)},
                    Reading{"1/2/00", At(2000, 1, 2)}, Reading{"2/29/2028", At(2028, 2, 29)},
                    Reading{"6/30/2011 01:20:34 PM", At(2011, 6, 30, 13, 20, 34)},
                    Reading{"12/31/97 12:59 AM", At(1997, 12, 31, 0, 59)},
                    Reading{"12/31/97 12 PM", At(1997, 12, 31, 12)},
                    Reading{"12/31/97 13:00 AM", At(1997, 12, 31, 13)}, Reading{"12/31", At(2026, 12, 31)},
                    Reading{"1/2 5 PM", At(2026, 1, 2, 17)}));

INSTANTIATE_TEST_SUITE_P(NamesAndYearFirst, ReadableText,
                         testing::Values(Reading{"Dec 31, 2027 5 PM", At(2027, 12, 31, 17)},
                                         Reading{"Dec 30, 1991", At(1991, 12, 30)},
                                         Reading{"25 January 1996", At(1996, 1, 25)},
                                         Reading{"January 25, 1996 8:30:00", At(1996, 1, 25, 8, 30)},
                                         Reading{"SEPT. 3 2027 17:00", At(2027, 9, 3, 17)},
                                         Reading{"Jan 2", At(2026, 1, 2)},
                                         Reading{"dec 31 5 pm", At(2026, 12, 31, 17)},
                                         Reading{"2013-05-14 02:04:12", At(2013, 5, 14, 2, 4, 12)},
                                         Reading{"2027-12-31T17:00", At(2027, 12, 31, 17)},
                                         Reading{"2027/12/31", At(2027, 12, 31)}));

INSTANTIATE_TEST_SUITE_P(TimesAlone, ReadableText,
                         testing::Values(Reading{"3:45", OleDate(0.15625)}, Reading{"0:20", TimeOfDay(0, 20)},
                                         Reading{"3:45:30", TimeOfDay(3, 45, 30)},
                                         Reading{"5 PM", TimeOfDay(17, 0)},
                                         Reading{"12:59 AM", TimeOfDay(0, 59)},
                                         Reading{"12:59 PM", TimeOfDay(12, 59)},
                                         Reading{"23:59:59", TimeOfDay(23, 59, 59)}));

class UnreadableText : public testing::TestWithParam<const char*> {};

TEST_P(UnreadableText, LeavesZeroAndInvalid)
{
    OleDate date(36892.5);
    EXPECT_FALSE(date.ParseDateTime(GetParam(), kClock));
    EXPECT_EQ(date.GetValue(), 0.0);
    EXPECT_EQ(date.GetStatus(), DateStatus::invalid);
    date = 1.5; // assigning a number makes it usable again
    EXPECT_TRUE(date.IsValid());
}

INSTANTIATE_TEST_SUITE_P(Rejected, UnreadableText,
                         testing::Values("", "   ", "abc", "5", "+3:45", "+0:30", "-3:45", "13/1/1970",
                                         "4/31/2027", "2/29/2001", "0/1/2001", "1/0/2001", "12/31/0097",
                                         "2027-13-01", "24:00", "10:60", "10:00:60", "3:45:30.5",
                                         "12/31/97 junk", "1/2/3/4", "12/31/97 5", "1/2-1970", "Dec",
                                         "Ma 3 2027", "99999/1/1", "12/31/97 13:00:00:00", "12/31/97,",
                                         "\xe9t\xe9", "12/31/97\n\x01",
                                         "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17"));

TEST(DateTextReading, MonthComesFirstWhateverTheLocale)
{
    // The program writes 12/06/2026 for 6 December and must read it back so.
    OleDate date;
    ASSERT_TRUE(date.ParseDateTime("12/06/2026", kClock));
    EXPECT_EQ(date.GetFields()->month, 12);
    EXPECT_EQ(date.GetFields()->day, 6);
}

} // namespace
} // namespace vostrel
