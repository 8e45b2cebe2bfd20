#pragma once

#include "engine/DateTimeFields.h"
#include "engine/OleDateSpan.h"

#include <optional>
#include <string>
#include <string_view>

namespace vostrel {

class Clock;

// A local wall-clock moment in the OLE Automation date encoding: days since
// 30 December 1899 00:00, the fraction being the time of day. For negative
// values the whole part counts backwards while the fraction still runs
// forwards, so -1.25 is 29 December 1899 06:00. The countdown adds and
// subtracts raw values, so this encoding is observable behaviour.
class OleDate {
public:
    // 1 January 100 and the day after 31 December 9999, as linear day counts.
    static constexpr double kMinValue = -657434.0;
    static constexpr double kEndOfRange = 2958466.0;

    OleDate() = default;
    explicit OleDate(double value) { SetValue(value); }
    static OleDate FromFields(const DateTimeFields& fields);

    // Stores the number; the status becomes valid if the number lies in the
    // supported range and invalid otherwise (including NaN and infinities).
    OleDate& operator=(double value)
    {
        SetValue(value);
        return *this;
    }
    void SetValue(double value);
    void SetStatus(DateStatus status) { m_status = status; }

    double GetValue() const { return m_value; }
    DateStatus GetStatus() const { return m_status; }
    bool IsValid() const { return m_status == DateStatus::valid; }

    // Reads a date, a date with a time, or a time alone, month before day.
    // The clock supplies the year when the text leaves it out. On failure the
    // value becomes 0 and the status invalid.
    bool ParseDateTime(std::string_view text, const Clock& clock);

    // Calendar and clock fields after rounding to the nearest second;
    // nothing for a moment that is not valid or rounds out of range.
    std::optional<DateTimeFields> GetFields() const;

    // The moment as this program writes it, "%m/%d/%Y %H:%M:%S", rounded to
    // the nearest second; empty for a moment that is not valid.
    std::string Format() const;

    // The value as a continuous day count: negative values keep their whole
    // part and have the sign of their fraction turned round.
    static double ToLinear(double value);

private:
    double m_value = 0.0;
    DateStatus m_status = DateStatus::valid;
};

// a - b in days; null if either operand is null, else invalid if either is
// invalid (both with 0 days), else the difference of their linear values.
OleDateSpan operator-(const OleDate& a, const OleDate& b);

} // namespace vostrel
