#include "app/sound/ToneSpeaker.h"

#include "app/sound/SineTone.h"

#include <QAudioSink>
#include <QMediaDevices>

namespace vostrel {
namespace {

constexpr double kAmplitude = 0.5;
constexpr double kFadeMs = 2.0;
// What the output holds ahead of the speaker: a tone is heard at most this
// late, and the UI thread may be busy this long before the stream runs dry.
constexpr qint64 kBufferUs = 100'000;
// Silence before a new stream's first tone: a sink that rewinds to mix in
// a stream just started, or a device woken from suspend, can swallow the
// first milliseconds of what the stream is sent.
constexpr unsigned kLeadInMs = 100;

} // namespace

ToneSpeaker::ToneSpeaker(Speaker& fallback, DeviceSource deviceSource, std::chrono::milliseconds alarmOver)
    : m_fallback(fallback), m_deviceSource(std::move(deviceSource))
{
    m_alarmOver.setSingleShot(true);
    m_alarmOver.setInterval(alarmOver);
    connect(&m_alarmOver, &QTimer::timeout, this, &ToneSpeaker::EndAlarm);
}

ToneSpeaker::~ToneSpeaker()
{
    CloseOutput();
}

QAudioDevice ToneSpeaker::DefaultOutput()
{
    return QMediaDevices::defaultAudioOutput();
}

void ToneSpeaker::Beep(unsigned frequencyHz, unsigned durationMs)
{
    m_alarmOver.start();
    if (!m_sink && !m_bellOnly)
        m_bellOnly = !OpenOutput();
    if (m_bellOnly) {
        m_fallback.Beep(frequencyHz, durationMs);
        return;
    }
    m_source.Play(SineTone(frequencyHz, durationMs, static_cast<unsigned>(m_sink->format().sampleRate()),
                           kAmplitude, kFadeMs));
}

bool ToneSpeaker::OpenOutput()
{
    const QAudioDevice device = m_deviceSource ? m_deviceSource() : QAudioDevice();
    if (device.isNull())
        return false;
    QAudioFormat format;
    format.setSampleRate(device.preferredFormat().sampleRate() > 0 ? device.preferredFormat().sampleRate()
                                                                   : 48000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return false;
    auto sink = std::make_unique<QAudioSink>(device, format);
    sink->setBufferSize(format.bytesForDuration(kBufferUs));
    m_source.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    m_source.Hold(static_cast<std::size_t>(format.sampleRate()) * kLeadInMs / 1000);
    sink->start(&m_source);
    if (sink->state() == QAudio::StoppedState || sink->error() != QAudio::NoError) {
        m_source.close();
        return false;
    }
    // Queued: the sink reports from the sound server's thread too, and it
    // must not be deleted inside its own signal.
    connect(sink.get(), &QAudioSink::stateChanged, this, &ToneSpeaker::CheckOutput, Qt::QueuedConnection);
    m_sink = std::move(sink);
    return true;
}

// The sink goes last: deleting it lets Qt handle pending events, which may
// beep again, and that beep must find everything closed.
void ToneSpeaker::CloseOutput()
{
    if (m_sink)
        m_sink->stop();
    m_source.close();
    m_sink.reset();
}

void ToneSpeaker::EndAlarm()
{
    m_bellOnly = false;
    CloseOutput();
}

// A stream that stopped with an error (the server died or dropped it) is
// closed, and the bell rings until the alarm is over.
void ToneSpeaker::CheckOutput()
{
    if (m_sink && m_sink->state() == QAudio::StoppedState && m_sink->error() != QAudio::NoError) {
        m_bellOnly = true;
        CloseOutput();
    }
}

} // namespace vostrel
