#include "engine/CountdownText.h"

#include "engine/TextChars.h"

#include "engine/OleDate.h"

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>

namespace vostrel {
namespace {

using text::IsBlank;
using text::IsDigit;

constexpr std::size_t kMaxIntervalHourDigits = 8;

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Takes 1..maxDigits decimal digits off the front of text.
std::optional<std::int64_t> TakeNumber(std::string_view& text, std::size_t maxDigits)
{
    if (text.empty() || !IsDigit(text.front()))
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const auto digits = static_cast<std::size_t>(end - text.data());
    if (error != std::errc() || digits > maxDigits)
        return std::nullopt;
    text.remove_prefix(digits);
    return value;
}

bool TakeColon(std::string_view& text)
{
    if (text.empty() || text.front() != ':')
        return false;
    text.remove_prefix(1);
    return true;
}

std::optional<std::int64_t> TakeSixtieth(std::string_view& text)
{
    const std::optional<std::int64_t> value = TakeNumber(text, 2);
    return value && *value < 60 ? value : std::nullopt;
}

// Whole seconds left, truncated toward zero, of a day count that comes
// from whole-second moments.
std::int64_t WholeSecondsTowardZero(double days)
{
    // Far beyond any span between two valid moments; keeps the cast defined.
    constexpr double kLimit = 1e15;
    const double seconds = OleDateSpan(std::isnan(days) ? 0.0 : days, DateStatus::valid).GetTotalSeconds();
    return static_cast<std::int64_t>(std::trunc(std::clamp(seconds, -kLimit, kLimit)));
}

} // namespace

std::optional<double> ReadIntervalDays(std::string_view text)
{
    text = TrimBlanks(text);
    if (text.empty())
        return std::nullopt;
    const std::optional<std::int64_t> hours = TakeNumber(text, kMaxIntervalHourDigits);
    if (!hours || !TakeColon(text))
        return std::nullopt;
    const std::optional<std::int64_t> minutes = TakeSixtieth(text);
    if (!minutes)
        return std::nullopt;
    std::int64_t seconds = 0;
    if (TakeColon(text)) {
        const std::optional<std::int64_t> s = TakeSixtieth(text);
        if (!s)
            return std::nullopt;
        seconds = *s;
    }
    if (!text.empty())
        return std::nullopt;
    return static_cast<double>(*hours * 3600 + *minutes * 60 + seconds) / kSecondsPerDay;
}

std::int32_t ReadLeadingInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        magnitude = std::min(magnitude * 10 + (text[i] - '0'), kLimit);
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::string FormatTimeLeft(double days, std::int32_t unit)
{
    char text[64] = "";
    switch (unit) {
    case unitDays:
        std::snprintf(text, sizeof text, "%4.0f Days", days);
        break;
    case unitHours:
        std::snprintf(text, sizeof text, "%5.0f Hrs", days * 24);
        break;
    case unitMinutes:
        std::snprintf(text, sizeof text, "%6.0f Mins", days * 1440);
        break;
    case unitSeconds:
        std::snprintf(text, sizeof text, "%7.0f Secs", days * 86400);
        break;
    case unitHms: {
        const std::int64_t s = WholeSecondsTowardZero(days);
        std::snprintf(text, sizeof text, "%3" PRId64 ":%1" PRId64 ":%1" PRId64 " HMS", s / 3600,
                      s % 3600 / 60, s % 3600 % 60);
        break;
    }
    default:
        break;
    }
    return text;
}

} // namespace vostrel
