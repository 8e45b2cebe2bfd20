#pragma once

#include "engine/OleDate.h"

#include <optional>
#include <string_view>

namespace vostrel {

// What a date text says, before the calendar checks the day of the month.
struct ReadDateTime {
    DateTimeFields fields;
    bool timeOnly = false;    // a time of day without a date
    bool yearOmitted = false; // a date without a year: the current year
};

// Reads the date and time forms people type, always month before day:
//   12/31/97, 12-31-1997, 12/31 (this year), 2027-12-31 (year first),
//   Dec 31, 2027 and 31 December 2027 (month names in English),
// each optionally followed by a time such as 5 PM, 17:00 or 5:04:03 pm, or a
// time alone. Blanks may surround the text. Years of one or two digits mean
// 2000-2029 for 0-29 and 1930-1999 for 30-99.
std::optional<ReadDateTime> ReadDateTimeText(std::string_view text);

} // namespace vostrel
