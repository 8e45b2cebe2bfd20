#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace vostrel {

// The running copy's countdown: its effective end moment (days since
// 30 December 1899) and its display unit.
struct RemoteState {
    double end = 0.0;
    std::int32_t unit = 0;

    QByteArray Encode() const;
    static std::optional<RemoteState> Decode(const QByteArray& answer);
};

} // namespace vostrel
