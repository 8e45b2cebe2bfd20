// Runs the whole countdown chain on random targets, vacation texts, units
// and moments, ticking the clock on, and checks what reaches the controls.
#include "engine/CountdownEngine.h"
#include "tests/support/RecordingCollaborator.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace vostrel;

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
    test::RecordingCollaborator host(state);
    // Any hour from 1 January 100 to 31 December 9999; the ticks add seconds.
    const std::uint32_t hour = TakeNumber(input) % (3615900u * 24);
    host.clock.now = OleDate(OleDate::kMinValue + hour / 24 + (hour % 24) / 24.0);
    host.controls.unit = static_cast<std::int32_t>(TakeNumber(input) % 8) - 1;
    host.controls.endDate = Take(input);
    host.controls.vacDays = Take(input);

    CountdownEngine engine(state, host);
    const bool interval = host.controls.endDate.find('+') != std::string::npos;
    engine.ComputeVacationAdjust();
    const std::size_t written = host.controls.endDate.size();
    if (interval && written != 0 && written != 19)
        __builtin_trap(); // an interval becomes a written moment
    for (int tick = 0; tick < 3 && !input.empty(); ++tick) {
        host.clock.now = OleDate(host.clock.Now().GetValue() + (TakeNumber(input) % 100000) / 86400.0);
        engine.RefreshDisplay();
    }
    engine.ResolveTarget();
    const std::string tip = host.calls.back().substr(std::string("ChangeTip ").size());
    if (tip != host.controls.display || tip.size() > 63)
        __builtin_trap();
    if ((state.m_nDisplayPeriod < 0 || state.m_nDisplayPeriod > 4) != tip.empty())
        __builtin_trap();
    return 0;
}
