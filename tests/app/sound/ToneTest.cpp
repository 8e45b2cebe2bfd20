#include "app/sound/SineTone.h"
#include "app/sound/ToneSource.h"
#include "app/sound/ToneSpeaker.h"
#include "tests/support/Recorders.h"

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace vostrel;
using vostrel::test::RecordingSpeaker;
using namespace std::chrono_literals;

namespace {

std::vector<std::int16_t> Read(QIODevice& source, std::size_t samples)
{
    std::vector<std::int16_t> out(samples);
    const qint64 bytes = static_cast<qint64>(samples * sizeof(std::int16_t));
    EXPECT_EQ(source.read(reinterpret_cast<char*>(out.data()), bytes), bytes);
    return out;
}

int Peak(const std::vector<std::int16_t>& samples)
{
    int peak = 0;
    for (const std::int16_t s : samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

// Rising zero crossings: one per period of a sine.
int Periods(const std::vector<std::int16_t>& samples)
{
    int periods = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        periods += samples[i - 1] < 0 && samples[i] >= 0;
    return periods;
}

// An output that opens streams in memory: counts them and reads what the
// speaker plays into them.
struct MemoryOutput final : ToneOutput {
    struct Counts {
        int prepared = 0, started = 0, stopped = 0;
        QIODevice* source = nullptr;
        std::function<void()> failed;
    };
    MemoryOutput(Counts& counts, unsigned rate, bool starts = true)
        : counts(counts), rate(rate), starts(starts)
    {
    }
    unsigned Prepare() override { return ++counts.prepared, rate; }
    bool Start(QIODevice& source, std::function<void()> failed) override
    {
        if (!starts)
            return false;
        ++counts.started;
        counts.source = &source;
        counts.failed = std::move(failed);
        return true;
    }
    void Stop() override
    {
        ++counts.stopped;
        counts.source = nullptr;
    }
    Counts& counts;
    unsigned rate;
    bool starts;
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

    source.Hold(100);
    source.Play(std::vector<std::int16_t>(150, 1000));
    const auto first = Read(source, 400);
    EXPECT_EQ(std::count(first.begin(), first.begin() + 100, 0), 100);
    EXPECT_EQ(std::count(first.begin() + 100, first.begin() + 250, 1000), 150);
    EXPECT_EQ(std::count(first.begin() + 250, first.end(), 0), 150);
    // Once played, a tone is silence.
    EXPECT_EQ(Peak(Read(source, 400)), 0);

    // A new tone takes the place of what is left of the last.
    source.Play(std::vector<std::int16_t>(100, 7));
    Read(source, 40);
    source.Play(std::vector<std::int16_t>(30, -9));
    const auto replaced = Read(source, 50);
    EXPECT_EQ(std::count(replaced.begin(), replaced.begin() + 30, -9), 30);
    EXPECT_EQ(std::count(replaced.begin() + 30, replaced.end(), 0), 20);
    source.close();
    EXPECT_TRUE(source.atEnd());
}

TEST(Tone, AnAlarmOpensOneStreamClosesItAfterwardsAndTheNextOpensAnother)
{
    RecordingSpeaker bell;
    MemoryOutput::Counts counts;
    ToneSpeaker speaker(bell, std::make_unique<MemoryOutput>(counts, 8000), 100ms);

    speaker.Beep(1000, 50);
    ASSERT_TRUE(speaker.HasOutput());
    ASSERT_NE(counts.source, nullptr);
    // A tenth of a second of silence, then the tone at the stream's rate.
    const auto lead = Read(*counts.source, 800);
    EXPECT_EQ(Peak(lead), 0);
    const auto beep = Read(*counts.source, 400);
    EXPECT_NEAR(Periods(beep), 50, 1);
    EXPECT_GT(Peak(beep), 16000);
    EXPECT_EQ(Peak(Read(*counts.source, 800)), 0);

    speaker.Beep(1000, 50);
    speaker.Beep(1000, 50);
    EXPECT_EQ(counts.started, 1);
    EXPECT_NEAR(Periods(Read(*counts.source, 400)), 50, 1);
    EXPECT_TRUE(bell.beeps.empty());

    ASSERT_TRUE(QTest::qWaitFor([&] { return !speaker.Alarming(); }, 5000));
    EXPECT_FALSE(speaker.HasOutput());
    EXPECT_EQ(counts.stopped, 1);

    speaker.Beep(1000, 50);
    EXPECT_EQ(counts.started, 2);
    EXPECT_EQ(counts.stopped, 1);
}

TEST(Tone, WithoutAStreamOrWhenItFailsTheBellRingsUntilTheAlarmIsOver)
{
    {
        RecordingSpeaker bell;
        MemoryOutput::Counts counts;
        ToneSpeaker speaker(bell, std::make_unique<MemoryOutput>(counts, 0), 100ms);
        speaker.Beep(1000, 50);
        speaker.Beep(1000, 50);
        EXPECT_EQ(bell.beeps.size(), 2u);
        EXPECT_EQ(counts.started, 0);
        // Tried once per alarm, not at every beep.
        EXPECT_EQ(counts.prepared, 1);
    }
    {
        RecordingSpeaker bell;
        MemoryOutput::Counts counts;
        ToneSpeaker speaker(bell, std::make_unique<MemoryOutput>(counts, 8000, false), 100ms);
        speaker.Beep(1000, 50);
        EXPECT_EQ(bell.beeps.size(), 1u);
        EXPECT_FALSE(speaker.HasOutput());
    }
    RecordingSpeaker bell;
    MemoryOutput::Counts counts;
    ToneSpeaker speaker(bell, std::make_unique<MemoryOutput>(counts, 8000), 100ms);
    speaker.Beep(1000, 50);
    ASSERT_TRUE(counts.failed);
    counts.failed();
    EXPECT_EQ(counts.stopped, 1);
    speaker.Beep(1000, 50);
    speaker.Beep(1000, 50);
    EXPECT_EQ(bell.beeps.size(), 2u);
    EXPECT_EQ(counts.started, 1);
    // The next alarm tries the output again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !speaker.Alarming(); }, 5000));
    speaker.Beep(1000, 50);
    EXPECT_EQ(counts.started, 2);
    EXPECT_EQ(bell.beeps.size(), 2u);
}
