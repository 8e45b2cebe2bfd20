#include "app/command/RemoteState.h"

#include "app/command/RemoteRequest.h"

#include <QList>

#include <cmath>

namespace vostrel {
namespace {

const QByteArray kStatePrefix = QByteArrayLiteral("state");

} // namespace

QByteArray RemoteState::Encode() const
{
    return kStatePrefix + kChannelFieldSeparator + QByteArray::number(end, 'g', 17) + kChannelFieldSeparator +
           QByteArray::number(unit);
}

std::optional<RemoteState> RemoteState::Decode(const QByteArray& answer)
{
    const QList<QByteArray> fields = answer.split(kChannelFieldSeparator);
    if (fields.size() != 3 || fields[0] != kStatePrefix)
        return std::nullopt;
    bool number = false;
    const double end = fields[1].toDouble(&number);
    bool whole = false;
    const int unit = fields[2].toInt(&whole);
    if (!number || !std::isfinite(end) || !whole)
        return std::nullopt;
    return RemoteState{end, unit};
}

} // namespace vostrel
