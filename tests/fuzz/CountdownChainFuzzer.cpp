// Runs the whole countdown chain on random targets, vacation texts, units
// and moments, ticking the clock on, and checks what reaches the controls.
#include "CountdownEngine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace vostrel;

class SetClock final : public Clock {
public:
    OleDate Now() const override { return now; }
    OleDate now;
};

// Keeps the controls as plain copies of the bound fields.
class Host final : public CountdownCollaborator {
public:
    explicit Host(CountdownState& state) : m_state(state) {}
    void ExchangeIn() override
    {
        m_state.m_strEndDate = endDate;
        m_state.m_strVacDays = vacDays;
        m_state.m_nDisplayPeriod = unit;
    }
    void ExchangeOut() override
    {
        endDate = m_state.m_strEndDate;
        vacDays = m_state.m_strVacDays;
        unit = m_state.m_nDisplayPeriod;
    }
    void Beep(unsigned, unsigned) override { ++alarms; }
    void ShowWindow() override {}
    void ChangeTip(const std::string& text) override { tip = text; }
    void LoadIconRange(unsigned, unsigned) override {}
    void StartCycle(unsigned, unsigned) override {}
    const Clock& GetClock() const override { return clock; }

    std::string endDate, vacDays, tip;
    std::int32_t unit = 0;
    int alarms = 0;
    SetClock clock;

private:
    CountdownState& m_state;
};

// A field of bytes taken off the front of the input, up to a separator.
std::string Take(std::string_view& input)
{
    const std::size_t end = std::min(input.find('\x1f'), input.size());
    std::string field(input.substr(0, end));
    input.remove_prefix(std::min(end + 1, input.size()));
    return field;
}

std::uint32_t TakeNumber(std::string_view& input)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4 && !input.empty(); ++i) {
        value = value << 8 | static_cast<unsigned char>(input.front());
        input.remove_prefix(1);
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    CountdownState state;
    Host host(state);
    // Any hour from 1 January 100 to 31 December 9999; the ticks add seconds.
    const std::uint32_t hour = TakeNumber(input) % (3615900u * 24);
    host.clock.now = OleDate(OleDate::kMinValue + hour / 24 + (hour % 24) / 24.0);
    host.unit = static_cast<std::int32_t>(TakeNumber(input) % 8) - 1;
    host.endDate = Take(input);
    host.vacDays = Take(input);

    CountdownEngine engine(state, host);
    const bool interval = host.endDate.find('+') != std::string::npos;
    engine.ComputeVacationAdjust();
    if (interval && !host.endDate.empty() && host.endDate.size() != 19)
        __builtin_trap(); // an interval becomes a written moment
    for (int tick = 0; tick < 3 && !input.empty(); ++tick) {
        host.clock.now = OleDate(host.clock.now.GetValue() + (TakeNumber(input) % 100000) / 86400.0);
        engine.RefreshDisplay();
    }
    engine.ResolveTarget();
    if (host.tip != state.m_strDisplay || host.tip.size() > 63)
        __builtin_trap();
    if ((state.m_nDisplayPeriod < 0 || state.m_nDisplayPeriod > 4) != host.tip.empty())
        __builtin_trap();
    return 0;
}
