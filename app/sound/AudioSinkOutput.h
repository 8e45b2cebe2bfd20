#pragma once

#include "app/sound/ToneOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QObject>

#include <functional>
#include <memory>

class QAudioSink;

namespace vostrel {

// The tone's stream on an audio device through Qt Multimedia, as mono
// 16-bit samples at the device's preferred rate.
class AudioSinkOutput final : public QObject, public ToneOutput {
public:
    using DeviceSource = std::function<QAudioDevice()>;

    explicit AudioSinkOutput(DeviceSource deviceSource = DefaultOutput);
    ~AudioSinkOutput() override;

    unsigned Prepare() override;
    bool Start(QIODevice& source, std::function<void()> failed) override;
    void Stop() override;

    static QAudioDevice DefaultOutput();

private:
    void CheckState();

    DeviceSource m_deviceSource;
    QAudioDevice m_device;
    QAudioFormat m_format;
    std::unique_ptr<QAudioSink> m_sink;
    std::function<void()> m_failed;
};

} // namespace vostrel
