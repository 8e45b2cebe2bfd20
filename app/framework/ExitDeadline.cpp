#include "app/framework/ExitDeadline.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace vostrel {

void ExitDeadline::Arm(std::chrono::milliseconds within, int status, std::string note)
{
    m_watch = std::jthread([this, within, status, note = std::move(note)](const std::stop_token& stop) {
        std::unique_lock lock(m_mutex);
        m_wake.wait_for(lock, stop, within, [] { return false; });
        if (stop.stop_requested())
            return;
        std::fprintf(stderr, "%s\n", note.c_str());
        std::fflush(nullptr);
        std::_Exit(status);
    });
}

} // namespace vostrel
