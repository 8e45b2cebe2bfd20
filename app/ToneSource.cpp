#include "ToneSource.h"

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
    const std::size_t wanted = static_cast<std::size_t>(maxSize) / sizeof(std::int16_t);
    const std::size_t tone = std::min(wanted, m_tone.size() - m_played);
    if (tone > 0) {
        std::memcpy(data, m_tone.data() + m_played, tone * sizeof(std::int16_t));
        m_played += tone;
    }
    std::memset(data + tone * sizeof(std::int16_t), 0, (wanted - tone) * sizeof(std::int16_t));
    return static_cast<qint64>(wanted * sizeof(std::int16_t));
}

} // namespace vostrel
