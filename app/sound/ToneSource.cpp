#include "app/sound/ToneSource.h"

#include <algorithm>
#include <cstring>

namespace vostrel {

void ToneSource::Play(const std::vector<std::int16_t>& tone)
{
    m_tone = tone;
    m_played = 0;
}

// Fills all that is asked for, in whole samples: an output that read less
// would take the stream for finished.
qint64 ToneSource::readData(char* data, qint64 maxSize)
{
    constexpr std::size_t kSize = sizeof(std::int16_t);
    const std::size_t wanted = static_cast<std::size_t>(maxSize) / kSize;
    const std::size_t held = std::min(wanted, m_hold);
    m_hold -= held;
    const std::size_t tone = std::min(wanted - held, m_tone.size() - m_played);
    std::memset(data, 0, wanted * kSize);
    if (tone > 0) {
        std::memcpy(data + held * kSize, m_tone.data() + m_played, tone * kSize);
        m_played += tone;
    }
    return static_cast<qint64>(wanted * kSize);
}

} // namespace vostrel
