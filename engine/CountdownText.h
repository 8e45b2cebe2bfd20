#pragma once

#include "engine/CountdownState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The countdown's own small text forms: the interval typed after "+", the
// vacation-day count, and the time left in each display unit.
namespace vostrel {

// "H:MM" or "H:MM:SS" with any number of hours (up to eight digits), minutes
// and seconds 0-59, blanks around it allowed; the length in days.
std::optional<double> ReadIntervalDays(std::string_view text);

// The leading decimal integer as atoi reads it (blanks, one sign, digits;
// none gives 0), clamped to the 32-bit range instead of overflowing.
std::int32_t ReadLeadingInteger(std::string_view text);

// The time left in the unit, as printf shows it ("%4.0f Days", "%3d:%1d:%1d
// HMS" ...); empty for a value that names no unit.
std::string FormatTimeLeft(double days, std::int32_t unit);

} // namespace vostrel
