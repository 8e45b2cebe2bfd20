#pragma once

#include "NotifyArea.h"

#include <vector>

namespace vostrel::test {

// A notification area that records every request and answers as told.
class RecordingNotifyArea final : public NotifyArea {
public:
    struct Request {
        std::uint32_t request;
        NOTIFYICONDATA record;
    };

    bool IsAvailable() const override { return available; }
    bool ShellNotifyIcon(std::uint32_t request, const NOTIFYICONDATA& record) override
    {
        requests.push_back({request, record});
        return succeed;
    }

    // The pictures sent, in order, by add and modify requests that carry one.
    std::vector<std::uint32_t> Pictures() const
    {
        std::vector<std::uint32_t> pictures;
        for (const Request& r : requests) {
            if (r.request != NIM_DELETE && (r.record.uFlags & NIF_ICON))
                pictures.push_back(r.record.hIcon);
        }
        return pictures;
    }

    bool available = true;
    bool succeed = true;
    std::vector<Request> requests;
};

} // namespace vostrel::test
