#include "app/sound/ToneSpeaker.h"

#include "app/sound/SineTone.h"

namespace vostrel {
namespace {

constexpr double kAmplitude = 0.5;
constexpr double kFadeMs = 2.0;
// Silence before a new stream's first tone: a sink that rewinds to mix in
// a stream just started, or a device woken from suspend, can swallow the
// first milliseconds of what the stream is sent.
constexpr unsigned kLeadInMs = 100;

} // namespace

ToneSpeaker::ToneSpeaker(Speaker& fallback, std::unique_ptr<ToneOutput> output,
                         std::chrono::milliseconds alarmOver)
    : m_fallback(fallback), m_output(std::move(output))
{
    m_alarmOver.setSingleShot(true);
    m_alarmOver.setInterval(alarmOver);
    connect(&m_alarmOver, &QTimer::timeout, this, &ToneSpeaker::EndAlarm);
}

ToneSpeaker::~ToneSpeaker()
{
    CloseOutput();
}

void ToneSpeaker::Beep(unsigned frequencyHz, unsigned durationMs)
{
    m_alarmOver.start();
    if (!m_open && !m_bellOnly)
        m_bellOnly = !OpenOutput();
    if (m_bellOnly) {
        m_fallback.Beep(frequencyHz, durationMs);
        return;
    }
    m_source.Play(SineTone(frequencyHz, durationMs, m_sampleRate, kAmplitude, kFadeMs));
}

bool ToneSpeaker::OpenOutput()
{
    m_sampleRate = m_output ? m_output->Prepare() : 0;
    if (m_sampleRate == 0)
        return false;
    m_source.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    m_source.Hold(static_cast<std::size_t>(m_sampleRate) * kLeadInMs / 1000);
    if (!m_output->Start(m_source, [this] { OutputFailed(); })) {
        m_source.close();
        return false;
    }
    m_open = true;
    return true;
}

// Closing the stream lets Qt handle pending events, which may beep again:
// that beep must find everything closed.
void ToneSpeaker::CloseOutput()
{
    if (!m_open)
        return;
    m_open = false;
    m_source.close();
    m_output->Stop();
}

void ToneSpeaker::EndAlarm()
{
    m_bellOnly = false;
    CloseOutput();
}

// A stream that failed (the server died or dropped it) is closed, and the
// bell rings until the alarm is over.
void ToneSpeaker::OutputFailed()
{
    m_bellOnly = true;
    CloseOutput();
}

} // namespace vostrel
