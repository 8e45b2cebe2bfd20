#pragma once

#include "app/sound/Speaker.h"
#include "app/sound/ToneOutput.h"
#include "app/sound/ToneSource.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>

namespace vostrel {

// Plays the beep as a real sine tone on an audio output. An alarm
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
    // Twice the time between an alarm's beeps: a late beep keeps the stream.
    static constexpr std::chrono::milliseconds kAlarmOver{2000};

    ToneSpeaker(Speaker& fallback, std::unique_ptr<ToneOutput> output,
                std::chrono::milliseconds alarmOver = kAlarmOver);
    ~ToneSpeaker() override;

    void Beep(unsigned frequencyHz, unsigned durationMs) override;
    // Whether a stream is open now.
    bool HasOutput() const { return m_open; }
    // Whether a beep came within the last alarmOver.
    bool Alarming() const { return m_alarmOver.isActive(); }

private:
    bool OpenOutput();
    void CloseOutput();
    void EndAlarm();
    void OutputFailed();

    Speaker& m_fallback;
    std::unique_ptr<ToneOutput> m_output;
    ToneSource m_source;
    unsigned m_sampleRate = 0;
    bool m_open = false;
    QTimer m_alarmOver;
    bool m_bellOnly = false; // for the rest of this alarm
};

} // namespace vostrel
