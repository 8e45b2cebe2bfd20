#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <string>

namespace vostrel {

// Fields of a line on the channel are separated by a tab.
inline constexpr char kChannelFieldSeparator = '\t';

// What one copy of the program asks the running one, as a line on the
// channel between them: show the window, take a new target and unit as if
// typed and confirmed, end, or tell its countdown.
struct RemoteRequest {
    enum class Kind { show, set, quit, state };

    Kind kind = Kind::show;
    std::optional<std::string> target; // set: the target as typed
    std::optional<std::int32_t> unit;  // set: the display unit, 0..4

    QByteArray Encode() const;
    // Nothing for a line that is not a well-formed request.
    static std::optional<RemoteRequest> Decode(const QByteArray& line);
};

// A target that can travel on the channel and fill the window's box: a
// single-byte text without control characters, at most this long.
inline constexpr std::size_t kMaxTargetLength = 200;
bool IsTargetOnChannel(std::string_view target);

// The answers. A show request keeps its own answer, which copies of every
// version give; a state answer carries the end moment and the unit.
inline const QByteArray kShownAnswer = QByteArrayLiteral("shown");
inline const QByteArray kDoneAnswer = QByteArrayLiteral("done");
inline const QByteArray kRefusedAnswer = QByteArrayLiteral("refused");
QByteArray ExpectedAnswer(RemoteRequest::Kind kind);

} // namespace vostrel
