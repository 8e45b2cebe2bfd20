#pragma once

namespace vostrel {

// A date and time broken into its calendar and clock fields.
struct DateTimeFields {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

} // namespace vostrel
