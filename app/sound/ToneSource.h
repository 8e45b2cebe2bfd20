#pragma once

#include <QIODevice>

#include <cstdint>
#include <vector>

namespace vostrel {

// The alarm's sound as one endless stream of 16-bit samples for an audio
// output to pull from: silence, and each tone handed to Play once, from
// the next read on. An output that keeps reading this stays open between
// beeps, so each beep needs no stream of its own. Open it unbuffered so
// that nothing is read ahead of the output.
class ToneSource final : public QIODevice {
public:
    // Plays tone from the next read on, in place of what is left of the last.
    void Play(const std::vector<std::int16_t>& tone);
    // Plays this many samples of silence before any tone, from the next
    // read on.
    void Hold(std::size_t samples) { m_hold = samples; }

    bool isSequential() const override { return true; }
    // The stream never ends while it is open.
    bool atEnd() const override { return !isOpen(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::vector<std::int16_t> m_tone;
    std::size_t m_played = 0;
    std::size_t m_hold = 0;
};

} // namespace vostrel
