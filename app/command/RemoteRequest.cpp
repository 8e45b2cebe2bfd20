#include "app/command/RemoteRequest.h"

#include <QList>

#include <algorithm>

namespace vostrel {
namespace {

constexpr char kUnchanged[] = "-";

std::optional<std::int32_t> ReadUnit(const QByteArray& field)
{
    if (field.size() != 1 || field[0] < '0' || field[0] > '4')
        return std::nullopt;
    return field[0] - '0';
}

} // namespace

bool IsTargetOnChannel(std::string_view target)
{
    return target.size() <= kMaxTargetLength && std::none_of(target.begin(), target.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return byte < 0x20 || byte == 0x7f;
           });
}

QByteArray RemoteRequest::Encode() const
{
    switch (kind) {
    case Kind::show:
        return QByteArrayLiteral("show");
    case Kind::quit:
        return QByteArrayLiteral("quit");
    case Kind::state:
        return QByteArrayLiteral("state");
    case Kind::set:
        break;
    }
    QByteArray line = QByteArrayLiteral("set");
    line += kChannelFieldSeparator;
    line += unit ? QByteArray::number(*unit) : QByteArray(kUnchanged);
    line += kChannelFieldSeparator;
    line += target ? QByteArray::fromStdString(*target) : QByteArray(kUnchanged);
    return line;
}

std::optional<RemoteRequest> RemoteRequest::Decode(const QByteArray& line)
{
    if (line == "show")
        return RemoteRequest{Kind::show, {}, {}};
    if (line == "quit")
        return RemoteRequest{Kind::quit, {}, {}};
    if (line == "state")
        return RemoteRequest{Kind::state, {}, {}};
    const QList<QByteArray> fields = line.split(kChannelFieldSeparator);
    if (fields.size() != 3 || fields[0] != "set")
        return std::nullopt;
    RemoteRequest request{Kind::set, {}, {}};
    if (fields[1] != kUnchanged) {
        request.unit = ReadUnit(fields[1]);
        if (!request.unit)
            return std::nullopt;
    }
    if (fields[2] != kUnchanged) {
        const std::string target = fields[2].toStdString();
        if (target.empty() || !IsTargetOnChannel(target))
            return std::nullopt;
        request.target = target;
    }
    // A set request that changes nothing is not one.
    if (!request.unit && !request.target)
        return std::nullopt;
    return request;
}

QByteArray ExpectedAnswer(RemoteRequest::Kind kind)
{
    return kind == RemoteRequest::Kind::show ? kShownAnswer : kDoneAnswer;
}

} // namespace vostrel
