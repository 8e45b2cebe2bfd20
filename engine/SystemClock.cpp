#include "engine/SystemClock.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace vostrel {

OleDate SystemClock::Now() const
{
    const std::time_t now = std::time(nullptr);
    // The program runs a single user-interface thread, so the shared buffer
    // of std::localtime is safe; it is copied out at once.
    const std::tm* local = std::localtime(&now);
    if (local == nullptr)
        return OleDate(); // a clock beyond what the C library can break down
    // A leap second (tm_sec 60) is shown as the last second of its minute.
    return OleDate::FromFields({local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour,
                                local->tm_min, std::min(local->tm_sec, 59)});
}

int SystemClock::MillisecondsIntoSecond() const
{
    // Time zones differ from UTC by whole seconds, so local seconds begin
    // when the system clock's seconds do.
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000);
}

} // namespace vostrel
