#include "app/sound/AudioSinkOutput.h"

#include <QAudioSink>
#include <QMediaDevices>

namespace vostrel {
namespace {

// What the output holds ahead of the speaker: a tone is heard at most this
// late. A sound server starved of the processor on a loaded machine plays
// what it holds at once when it runs again, and tones it lacks then are lost:
// half a second rides over holds of 150 ms, a tenth of a second did not.
constexpr qint64 kBufferUs = 500'000;
constexpr int kFallbackRate = 48000;

} // namespace

AudioSinkOutput::AudioSinkOutput(DeviceSource deviceSource) : m_deviceSource(std::move(deviceSource))
{
}

AudioSinkOutput::~AudioSinkOutput()
{
    Stop();
}

QAudioDevice AudioSinkOutput::DefaultOutput()
{
    return QMediaDevices::defaultAudioOutput();
}

unsigned AudioSinkOutput::Prepare()
{
    m_device = m_deviceSource ? m_deviceSource() : QAudioDevice();
    if (m_device.isNull())
        return 0;
    const int preferred = m_device.preferredFormat().sampleRate();
    m_format.setSampleRate(preferred > 0 ? preferred : kFallbackRate);
    m_format.setChannelCount(1);
    m_format.setSampleFormat(QAudioFormat::Int16);
    return m_device.isFormatSupported(m_format) ? static_cast<unsigned>(m_format.sampleRate()) : 0;
}

bool AudioSinkOutput::Start(QIODevice& source, std::function<void()> failed)
{
    if (m_device.isNull())
        return false;
    auto sink = std::make_unique<QAudioSink>(m_device, m_format);
    sink->setBufferSize(m_format.bytesForDuration(kBufferUs));
    sink->start(&source);
    if (sink->state() == QAudio::StoppedState || sink->error() != QAudio::NoError)
        return false;
    // Queued: the sink reports from the sound server's thread too, and it
    // must not be deleted inside its own signal.
    connect(sink.get(), &QAudioSink::stateChanged, this, &AudioSinkOutput::CheckState, Qt::QueuedConnection);
    m_sink = std::move(sink);
    m_failed = std::move(failed);
    return true;
}

// Deleting the sink lets Qt handle pending events, which may beep again:
// the member is cleared first so that such a beep finds no stream.
void AudioSinkOutput::Stop()
{
    if (!m_sink)
        return;
    m_sink->stop();
    const std::unique_ptr<QAudioSink> closing = std::move(m_sink);
    m_failed = nullptr;
}

// A stream that stopped with an error (the server died or dropped it).
void AudioSinkOutput::CheckState()
{
    if (m_sink && m_sink->state() == QAudio::StoppedState && m_sink->error() != QAudio::NoError && m_failed)
        m_failed();
}

} // namespace vostrel
