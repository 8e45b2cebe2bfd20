#pragma once

#include "Speaker.h"

#include <QAudioDevice>
#include <QBuffer>
#include <QObject>

#include <functional>
#include <memory>

class QAudioSink;

namespace vostrel {

// Plays the beep as a real sine tone on the default audio output. The
// output is opened at the first beep, so a countdown that never expires
// pays nothing for it; without an audio output the desktop's bell rings
// instead. Playing never blocks: the tone is handed over and the call
// returns.
class ToneSpeaker final : public QObject, public Speaker {
public:
    using DeviceSource = std::function<QAudioDevice()>;

    explicit ToneSpeaker(Speaker& fallback, DeviceSource deviceSource = DefaultOutput);
    ~ToneSpeaker() override;

    void Beep(unsigned frequencyHz, unsigned durationMs) override;
    bool HasOutput() const { return m_sink != nullptr; }

    static QAudioDevice DefaultOutput();

private:
    bool OpenOutput();

    Speaker& m_fallback;
    DeviceSource m_deviceSource;
    std::unique_ptr<QAudioSink> m_sink;
    QBuffer m_tone;
    bool m_triedOutput = false;
};

} // namespace vostrel
