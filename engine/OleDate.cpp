#include "engine/OleDate.h"

#include "engine/Calendar.h"
#include "engine/Clock.h"
#include "engine/DateTextReader.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace vostrel {
namespace {

bool InRange(double linear)
{
    return linear >= OleDate::kMinValue && linear < OleDate::kEndOfRange;
}

// Encodes a day serial and a second of the day; before the origin the time of
// day is subtracted, because the fraction of a negative value runs forwards.
double Encode(std::int64_t serial, std::int64_t secondOfDay)
{
    const double days = static_cast<double>(serial);
    const double fraction = static_cast<double>(secondOfDay) / kSecondsPerDay;
    return serial >= 0 ? days + fraction : days - fraction;
}

} // namespace

double OleDate::ToLinear(double value)
{
    if (value >= 0)
        return value;
    const double whole = std::ceil(value);
    return whole - (value - whole);
}

void OleDate::SetValue(double value)
{
    m_value = value;
    m_status = std::isfinite(value) && InRange(ToLinear(value)) ? DateStatus::valid : DateStatus::invalid;
}

OleDate OleDate::FromFields(const DateTimeFields& f)
{
    const calendar::CivilDate date{f.year, f.month, f.day};
    OleDate result;
    const bool timeValid =
        f.hour >= 0 && f.hour < 24 && f.minute >= 0 && f.minute < 60 && f.second >= 0 && f.second < 60;
    if (!timeValid || !calendar::IsValidCivilDate(date)) {
        result.m_status = DateStatus::invalid;
        return result;
    }
    result.SetValue(Encode(calendar::SerialFromCivil(date), f.hour * 3600 + f.minute * 60 + f.second));
    return result;
}

bool OleDate::ParseDateTime(std::string_view text, const Clock& clock)
{
    std::optional<ReadDateTime> read = ReadDateTimeText(text);
    if (read && read->yearOmitted) {
        const std::optional<DateTimeFields> now = clock.Now().GetFields();
        read->fields.year = now ? now->year : 0;
    }
    if (read && read->timeOnly) {
        const DateTimeFields& f = read->fields;
        SetValue(Encode(0, f.hour * 3600 + f.minute * 60 + f.second));
        return true;
    }
    if (read) {
        const OleDate date = FromFields(read->fields);
        if (date.IsValid()) {
            *this = date;
            return true;
        }
    }
    m_value = 0.0;
    m_status = DateStatus::invalid;
    return false;
}

std::optional<DateTimeFields> OleDate::GetFields() const
{
    if (!IsValid())
        return std::nullopt;
    // Round the continuous time to the nearest second, halves upwards.
    const auto seconds = static_cast<std::int64_t>(std::floor(ToLinear(m_value) * kSecondsPerDay + 0.5));
    std::int64_t serial = seconds / kSecondsPerDay;
    std::int64_t secondOfDay = seconds % kSecondsPerDay;
    if (secondOfDay < 0) {
        secondOfDay += kSecondsPerDay;
        --serial;
    }
    const calendar::CivilDate date = calendar::CivilFromSerial(serial);
    if (date.year > 9999)
        return std::nullopt;
    const int s = static_cast<int>(secondOfDay);
    return DateTimeFields{date.year, date.month, date.day, s / 3600, s / 60 % 60, s % 60};
}

std::string OleDate::Format() const
{
    const std::optional<DateTimeFields> f = GetFields();
    if (!f)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", f->month, f->day, f->year, f->hour,
                  f->minute, f->second);
    return text;
}

OleDateSpan operator-(const OleDate& a, const OleDate& b)
{
    if (a.GetStatus() == DateStatus::null || b.GetStatus() == DateStatus::null)
        return {0.0, DateStatus::null};
    if (!a.IsValid() || !b.IsValid())
        return {0.0, DateStatus::invalid};
    return {OleDate::ToLinear(a.GetValue()) - OleDate::ToLinear(b.GetValue()), DateStatus::valid};
}

} // namespace vostrel
