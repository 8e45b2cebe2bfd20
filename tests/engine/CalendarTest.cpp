#include "Calendar.h"

#include <gtest/gtest.h>

namespace vostrel::calendar {
namespace {

TEST(Calendar, LeapYearsAndMonthLengths)
{
    EXPECT_TRUE(IsLeapYear(2028));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2001));
    EXPECT_EQ(DaysInMonth(2028, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2027, 4), 30);
    EXPECT_EQ(DaysInMonth(2027, 13), 0);
    EXPECT_FALSE(IsValidCivilDate({2027, 4, 31}));
    EXPECT_FALSE(IsValidCivilDate({2001, 2, 29}));
    EXPECT_FALSE(IsValidCivilDate({2027, 1, 0}));
}

TEST(Calendar, SerialsCountFromTheOriginAndRoundTripAcrossTheRange)
{
    EXPECT_EQ(SerialFromCivil({1899, 12, 30}), 0);
    EXPECT_EQ(SerialFromCivil({1900, 2, 28}), 60);
    EXPECT_EQ(SerialFromCivil({1900, 3, 1}), 61);
    EXPECT_EQ(SerialFromCivil({1970, 1, 2}), 25570);
    EXPECT_EQ(SerialFromCivil({2001, 1, 1}), 36892);
    EXPECT_EQ(SerialFromCivil({100, 1, 1}), -657434);
    EXPECT_EQ(SerialFromCivil({9999, 12, 31}), 2958465);
    for (std::int64_t serial = -657434; serial <= 2958465; serial += 331) {
        const CivilDate date = CivilFromSerial(serial);
        ASSERT_TRUE(IsValidCivilDate(date)) << serial;
        ASSERT_EQ(SerialFromCivil(date), serial);
    }
}

} // namespace
} // namespace vostrel::calendar
