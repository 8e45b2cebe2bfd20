#include "app/command/CountdownFigure.h"

#include "engine/CountdownCollaborator.h"
#include "engine/CountdownEngine.h"
#include "engine/CountdownText.h"
#include "engine/OleDateSpan.h"
#include "settings/ProfileStore.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

#include <array>
#include <cmath>

namespace vostrel {
namespace {

constexpr std::string_view kSection = "Settings";
// The window's controls as the countdown sees them, without a window: the
// unit buttons know no unit outside their five; nothing beeps, shows or
// animates. (The vacation box shows a longer stored text whole: only typing
// is held to two characters.)
class ControlsWithoutWindow final : public CountdownCollaborator {
public:
    ControlsWithoutWindow(CountdownState& state, const Clock& clock) : m_state(state), m_clock(clock) {}

    void ExchangeIn() override
    {
        if (m_state.m_nDisplayPeriod < unitDays || m_state.m_nDisplayPeriod > unitHms)
            m_state.m_nDisplayPeriod = -1;
    }
    void ExchangeOut() override {}
    void Beep(unsigned, unsigned) override {}
    void ShowWindow() override {}
    void ChangeTip(const std::string&) override {}
    void LoadIconRange(unsigned, unsigned) override {}
    void StartCycle(unsigned, unsigned) override {}
    const Clock& GetClock() const override { return m_clock; }

private:
    CountdownState& m_state;
    const Clock& m_clock;
};

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The moment in ISO 8601 with the local offset; empty for one with no
// calendar date.
QString IsoMoment(const OleDate& moment)
{
    const std::optional<DateTimeFields> fields = moment.GetFields();
    if (!fields)
        return {};
    const QDateTime local(QDate(fields->year, fields->month, fields->day),
                          QTime(fields->hour, fields->minute, fields->second));
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

} // namespace

CountdownFigure CountdownFigure::FromSettings(ProfileStore& store, const Clock& clock)
{
    // The window's defaults for values never saved.
    CountdownState state;
    state.m_strEndDate = store.ReadText(kSection, "EndDate", "01/01/2001");
    state.m_nDisplayPeriod = store.ReadInt(kSection, "DisplayPeriod", unitDays);
    state.m_strVacDays = store.ReadText(kSection, "VacationDays", "0");
    ControlsWithoutWindow controls(state, clock);
    CountdownEngine(state, controls).ComputeVacationAdjust();
    return {state.m_EndTime, state.m_nDisplayPeriod};
}

CountdownFigure CountdownFigure::FromState(const RemoteState& state)
{
    return {OleDate(state.end), state.unit};
}

bool CountdownFigure::Expired(const OleDate& now) const
{
    return (end - now).GetTotalDays() < 0;
}

std::string CountdownFigure::Text(const OleDate& now) const
{
    return Trimmed(FormatTimeLeft((end - now).GetTotalDays(), unit));
}

std::string CountdownFigure::Json(const OleDate& now) const
{
    const double secondsLeft = (end - now).GetTotalDays() * kSecondsPerDay;
    const bool expired = Expired(now);
    const QString endText = QString::fromStdString(end.Format());
    QJsonObject line{
        {QStringLiteral("text"), QString::fromLatin1(Text(now))},
        {QStringLiteral("tooltip"), expired ? QStringLiteral("Time ran out at ") + endText
                                            : QStringLiteral("Counting down to ") + endText},
        {QStringLiteral("class"), expired ? QStringLiteral("expired") : QStringLiteral("counting")},
        {QStringLiteral("alt"), QString::fromStdString(UnitName(unit))},
        // Whole seconds, taken down: a moment into the last second past the
        // end is already -1, as the class says expired.
        {QStringLiteral("seconds"), static_cast<qint64>(std::floor(secondsLeft + 1e-6))},
    };
    const QString iso = IsoMoment(end);
    line.insert(QStringLiteral("end"), iso.isEmpty() ? QJsonValue() : QJsonValue(iso));
    return QJsonDocument(line).toJson(QJsonDocument::Compact).toStdString();
}

std::string UnitName(std::int32_t unit)
{
    static constexpr std::array<const char*, 5> kNames{"D", "H", "M", "S", "HMS"};
    if (unit < 0 || unit >= static_cast<std::int32_t>(kNames.size()))
        return {};
    return kNames[static_cast<std::size_t>(unit)];
}

} // namespace vostrel
