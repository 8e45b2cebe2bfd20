#pragma once

#include <cstdint>

// Proleptic Gregorian calendar arithmetic on day serials counted from
// 30 December 1899 (serial 0), the origin of the OLE Automation date.
namespace vostrel::calendar {

struct CivilDate {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsValidCivilDate(const CivilDate& date);

std::int64_t SerialFromCivil(const CivilDate& date);
CivilDate CivilFromSerial(std::int64_t serial);

} // namespace vostrel::calendar
