#pragma once

#include "app/sound/Speaker.h"
#include "app/sound/ToneSource.h"

#include <QAudioDevice>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

class QAudioSink;

namespace vostrel {

// Plays the beep as a real sine tone on the default audio output. An alarm
// beeps every second: its first beep opens one output stream and every beep
// after it plays into that stream, as a sound server that is sent a new
// stream for each beep soon stops playing them. Once no beep has come for
// a while the alarm is over and the stream is closed, so no playback
// stream stays on the server while the countdown counts. Without an audio
// output, or when the stream fails, the desktop's bell rings for the rest
// of the alarm; the next alarm tries the output again. Beep never waits for
// a tone to play; an alarm's first beep waits only for its stream to open.
class ToneSpeaker final : public QObject, public Speaker {
public:
    using DeviceSource = std::function<QAudioDevice()>;
    // Twice the time between an alarm's beeps: a late beep keeps the stream.
    static constexpr std::chrono::milliseconds kAlarmOver{2000};

    explicit ToneSpeaker(Speaker& fallback, DeviceSource deviceSource = DefaultOutput,
                         std::chrono::milliseconds alarmOver = kAlarmOver);
    ~ToneSpeaker() override;

    void Beep(unsigned frequencyHz, unsigned durationMs) override;
    // Whether a stream is open now.
    bool HasOutput() const { return m_sink != nullptr; }
    // Whether a beep came within the last alarmOver.
    bool Alarming() const { return m_alarmOver.isActive(); }

    static QAudioDevice DefaultOutput();

private:
    bool OpenOutput();
    void CloseOutput();
    void EndAlarm();
    void CheckOutput();

    Speaker& m_fallback;
    DeviceSource m_deviceSource;
    ToneSource m_source;
    std::unique_ptr<QAudioSink> m_sink;
    QTimer m_alarmOver;
    bool m_bellOnly = false; // for the rest of this alarm
};

} // namespace vostrel
