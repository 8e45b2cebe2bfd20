// Feeds arbitrary bytes to every text reader of the engine. A text that reads
// as a moment must write and read back as the same moment.
#include "engine/CountdownText.h"
#include "tests/support/FixedClock.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vostrel::test::FixedClock clock(vostrel::OleDate(46362.5));

    vostrel::OleDate date;
    if (date.ParseDateTime(text, clock)) {
        if (!date.IsValid())
            __builtin_trap();
        const std::string written = date.Format();
        vostrel::OleDate again;
        if (!again.ParseDateTime(written, clock) || std::fabs((again - date).GetTotalDays()) > 0.5 / 86400)
            __builtin_trap();
    } else if (date.GetValue() != 0.0 || date.IsValid()) {
        __builtin_trap();
    }

    if (const std::optional<double> days = vostrel::ReadIntervalDays(text); days && !(*days >= 0))
        __builtin_trap();
    vostrel::ReadLeadingInteger(text);
    return 0;
}
