#include "app/sound/SineTone.h"
#include "app/sound/ToneSource.h"
#include "app/sound/ToneSpeaker.h"
#include "tests/support/Recorders.h"

#include <QTest>

#include <gtest/gtest.h>

#include <numeric>

using namespace vostrel;
using namespace std::chrono_literals;

namespace {

std::vector<std::int16_t> Read(QIODevice& source, std::size_t samples)
{
    std::vector<std::int16_t> out(samples);
    const auto bytes = static_cast<qint64>(samples * sizeof(std::int16_t));
    EXPECT_EQ(source.read(reinterpret_cast<char*>(out.data()), bytes), bytes);
    return out;
}

int Peak(const std::vector<std::int16_t>& samples)
{
    return std::accumulate(samples.begin(), samples.end(), 0,
                           [](int peak, int s) { return std::max(peak, std::abs(s)); });
}

// Rising zero crossings: one per period of a sine.
int Periods(const std::vector<std::int16_t>& samples)
{
    int periods = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        periods += samples[i - 1] < 0 && samples[i] >= 0;
    return periods;
}

// A tone speaker, its bell, and an output that opens streams in memory at the given rate (0: no output to
// open one on): counts them and keeps the source the speaker plays into.
struct Alarm {
    struct Output final : ToneOutput {
        Output(Alarm& alarm, unsigned rate, bool starts) : alarm(alarm), rate(rate), starts(starts) {}
        unsigned Prepare() override { return ++alarm.prepared, rate; }
        bool Start(QIODevice& source, std::function<void()> failed) override
        {
            alarm.started += starts;
            alarm.source = starts ? &source : nullptr;
            alarm.failed = std::move(failed);
            return starts;
        }
        void Stop() override { ++alarm.stopped, alarm.source = nullptr; }
        Alarm& alarm;
        unsigned rate;
        bool starts;
    };
    explicit Alarm(unsigned rate, bool starts = true)
        : speaker(bell, std::make_unique<Output>(*this, rate, starts), 100ms)
    {
    }
    bool Over()
    {
        return QTest::qWaitFor([this] { return !speaker.Alarming(); }, 5000);
    }

    test::RecordingSpeaker bell;
    int prepared = 0, started = 0, stopped = 0;
    QIODevice* source = nullptr;
    std::function<void()> failed;
    ToneSpeaker speaker;
};

} // namespace

TEST(Tone, ASineOfTheAskedPitchLengthAndLoudnessFadedInAndOut)
{
    const auto tone = SineTone(1000, 200, 48000, 0.5, 2.0);
    ASSERT_EQ(tone.size(), 9600u);
    EXPECT_NEAR(Peak(tone), 16384, 40);
    EXPECT_NEAR(Periods(tone), 200, 1);
    // Two milliseconds of fade at each end: no click where it starts or stops.
    EXPECT_EQ(tone.front(), 0);
    EXPECT_EQ(tone.back(), 0);
    EXPECT_LT(Peak({tone.begin(), tone.begin() + 48}), 16384 / 2 + 40);
    EXPECT_LT(Peak({tone.end() - 48, tone.end()}), 16384 / 2 + 40);
    EXPECT_GT(Peak({tone.begin() + 96, tone.begin() + 144}), 16000);
    // Loudness is kept within full scale.
    EXPECT_LE(Peak(SineTone(440, 50, 8000, 3.0, 1.0)), 32767);
    EXPECT_TRUE(SineTone(440, 0, 48000, 0.5, 2.0).empty());
}

TEST(Tone, TheSourceHoldsSilencePlaysEachToneOnceAndNeverRunsDry)
{
    ToneSource source;
    ASSERT_TRUE(source.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    EXPECT_FALSE(source.atEnd());
    EXPECT_EQ(Peak(Read(source, 500)), 0);

    // Silence held, the tone once, then silence again; a new tone takes the place
    // of what is left of the last.
    source.Hold(100);
    source.Play(std::vector<std::int16_t>(150, 1000));
    auto expected = std::vector<std::int16_t>(100, 0);
    expected.insert(expected.end(), 150, 1000);
    expected.insert(expected.end(), 550, 0);
    EXPECT_EQ(Read(source, 800), expected);
    source.Play(std::vector<std::int16_t>(100, 7));
    Read(source, 40);
    source.Play(std::vector<std::int16_t>(30, -9));
    expected.assign(30, -9);
    expected.insert(expected.end(), 20, 0);
    EXPECT_EQ(Read(source, 50), expected);
    source.close();
    EXPECT_TRUE(source.atEnd());
}

TEST(Tone, AnAlarmOpensOneStreamClosesItAfterwardsAndTheNextOpensAnotherAndWithoutOneTheBellRings)
{
    Alarm alarm(8000);
    alarm.speaker.Beep(1000, 50);
    ASSERT_TRUE(alarm.speaker.HasOutput());
    ASSERT_NE(alarm.source, nullptr);
    // A tenth of a second of silence, then the tone at the stream's rate.
    EXPECT_EQ(Peak(Read(*alarm.source, 800)), 0);
    const auto beep = Read(*alarm.source, 400);
    EXPECT_NEAR(Periods(beep), 50, 1);
    EXPECT_GT(Peak(beep), 16000);
    EXPECT_EQ(Peak(Read(*alarm.source, 800)), 0);

    alarm.speaker.Beep(1000, 50);
    alarm.speaker.Beep(1000, 50);
    EXPECT_EQ(alarm.started, 1);
    EXPECT_NEAR(Periods(Read(*alarm.source, 400)), 50, 1);
    EXPECT_TRUE(alarm.bell.beeps.empty());

    ASSERT_TRUE(alarm.Over());
    EXPECT_FALSE(alarm.speaker.HasOutput());
    EXPECT_EQ(alarm.stopped, 1);
    alarm.speaker.Beep(1000, 50);
    EXPECT_EQ(alarm.started, 2);
    EXPECT_EQ(alarm.stopped, 1);

    // Without a stream, or when it fails, the bell rings until the alarm is over.
    Alarm none(0);
    none.speaker.Beep(1000, 50);
    none.speaker.Beep(1000, 50);
    EXPECT_EQ(none.bell.beeps.size(), 2u);
    EXPECT_EQ(none.started, 0);
    EXPECT_EQ(none.prepared, 1); // tried once per alarm, not at every beep
    Alarm refused(8000, false);
    refused.speaker.Beep(1000, 50);
    EXPECT_EQ(refused.bell.beeps.size(), 1u);
    EXPECT_FALSE(refused.speaker.HasOutput());

    Alarm failing(8000);
    failing.speaker.Beep(1000, 50);
    ASSERT_TRUE(failing.failed);
    failing.failed();
    EXPECT_EQ(failing.stopped, 1);
    failing.speaker.Beep(1000, 50);
    failing.speaker.Beep(1000, 50);
    EXPECT_EQ(failing.bell.beeps.size(), 2u);
    EXPECT_EQ(failing.started, 1);
    // The next alarm tries the output again.
    ASSERT_TRUE(failing.Over());
    failing.speaker.Beep(1000, 50);
    EXPECT_EQ(failing.started, 2);
    EXPECT_EQ(failing.bell.beeps.size(), 2u);
}
