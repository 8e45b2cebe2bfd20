#pragma once

#include <cstdint>

namespace vostrel {

inline constexpr std::int64_t kSecondsPerDay = 86400;

// Whether a moment or a span holds a usable value, one that cannot be used
// (unreadable or out of range), or none at all.
enum class DateStatus { valid, invalid, null };

// A difference of two moments: a signed number of days with a status.
class OleDateSpan {
public:
    OleDateSpan() = default;
    OleDateSpan(double days, DateStatus status) : m_days(days), m_status(status) {}

    double GetTotalDays() const { return m_days; }
    // The span in seconds, to the nearest millisecond: moments are whole
    // seconds, and this keeps the rounding of their day fractions from
    // turning 5 seconds into 4.9999999.
    double GetTotalSeconds() const;
    DateStatus GetStatus() const { return m_status; }

private:
    double m_days = 0.0;
    DateStatus m_status = DateStatus::valid;
};

} // namespace vostrel
