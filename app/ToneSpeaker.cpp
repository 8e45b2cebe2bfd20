#include "ToneSpeaker.h"

#include "SineTone.h"

#include <QAudioSink>
#include <QMediaDevices>

namespace vostrel {
namespace {

constexpr double kAmplitude = 0.5;
constexpr double kFadeMs = 2.0;

} // namespace

ToneSpeaker::ToneSpeaker(Speaker& fallback, DeviceSource deviceSource)
    : m_fallback(fallback), m_deviceSource(std::move(deviceSource))
{
}

ToneSpeaker::~ToneSpeaker()
{
    if (m_sink)
        m_sink->stop();
}

QAudioDevice ToneSpeaker::DefaultOutput()
{
    return QMediaDevices::defaultAudioOutput();
}

bool ToneSpeaker::OpenOutput()
{
    if (m_triedOutput)
        return m_sink != nullptr;
    m_triedOutput = true;
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
    m_sink = std::make_unique<QAudioSink>(device, format);
    return true;
}

void ToneSpeaker::Beep(unsigned frequencyHz, unsigned durationMs)
{
    if (!OpenOutput()) {
        m_fallback.Beep(frequencyHz, durationMs);
        return;
    }
    const std::vector<std::int16_t> samples = SineTone(
        frequencyHz, durationMs, static_cast<unsigned>(m_sink->format().sampleRate()), kAmplitude, kFadeMs);
    m_sink->stop();
    m_tone.close();
    m_tone.setData(reinterpret_cast<const char*>(samples.data()),
                   static_cast<qsizetype>(samples.size() * sizeof(std::int16_t)));
    m_tone.open(QIODevice::ReadOnly);
    m_sink->start(&m_tone);
    if (m_sink->error() != QAudio::NoError)
        m_fallback.Beep(frequencyHz, durationMs);
}

} // namespace vostrel
