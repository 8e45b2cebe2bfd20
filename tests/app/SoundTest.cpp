// The alarm's tone and the speakers that play it.
#include "LazyToneSpeaker.h"
#include "SineTone.h"
#include "ToneSource.h"
#include "ToneSpeaker.h"
#include "UiTestSupport.h"

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vostrel {
namespace {

// The strength of one frequency in the samples (a single DFT bin).
double Strength(const std::vector<std::int16_t>& samples, double frequency, unsigned rate)
{
    double re = 0;
    double im = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double phase = 2 * std::numbers::pi * frequency * static_cast<double>(i) / rate;
        re += samples[i] * std::cos(phase);
        im += samples[i] * std::sin(phase);
    }
    return std::hypot(re, im);
}

TEST(SineTone, HasTheFrequencyLengthAndLoudnessAskedForAndFades)
{
    const auto tone = SineTone(1000, 100, 48000, 0.5, 2);
    ASSERT_EQ(tone.size(), 4800u);
    for (double other : {900.0, 1100.0, 2000.0, 3000.0})
        EXPECT_GT(Strength(tone, 1000, 48000), 20 * Strength(tone, other, 48000)) << other;
    EXPECT_NEAR(*std::max_element(tone.begin(), tone.end()), 16384, 400);
    // A quarter of a millisecond from either end the fade still holds it low.
    EXPECT_LT(std::abs(tone[12]), 4000);
    EXPECT_LT(std::abs(tone[tone.size() - 13]), 4000);
    EXPECT_TRUE(SineTone(440, 0, 44100, 1.0, 5).empty());
}

// Reads count samples from the source in reads of step samples, as an
// output pulling from it would; every read must be filled.
std::vector<std::int16_t> Pull(ToneSource& source, std::size_t count, std::size_t step)
{
    std::vector<std::int16_t> samples(count);
    for (std::size_t at = 0; at < count; at += step) {
        const std::size_t n = std::min(step, count - at);
        const qint64 bytes = static_cast<qint64>(n * sizeof(std::int16_t));
        EXPECT_EQ(source.read(reinterpret_cast<char*>(samples.data() + at), bytes), bytes);
    }
    return samples;
}

// What an output hears: silence, then the tone, count samples in all.
std::vector<std::int16_t> Heard(std::size_t silence, const std::vector<std::int16_t>& tone, std::size_t count)
{
    std::vector<std::int16_t> samples(count);
    std::copy(tone.begin(), tone.end(), samples.begin() + static_cast<std::ptrdiff_t>(silence));
    return samples;
}

// Silence until a tone is played, each tone once, whole, however the reads
// slice it; a new tone replaces the last; a hold delays even a later tone.
TEST(ToneSource, YieldsEachToneOnceThenSilence)
{
    ToneSource source;
    ASSERT_TRUE(source.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    EXPECT_EQ(Pull(source, 1000, 960), Heard(0, {}, 1000));
    const auto tone = SineTone(1000, 10, 48000, 0.5, 2);
    source.Play(tone);
    EXPECT_EQ(Pull(source, 3000, 7), Heard(0, tone, 3000));
    EXPECT_EQ(Pull(source, 3000, 960), Heard(0, {}, 3000));
    EXPECT_FALSE(source.atEnd());

    source.Play(tone);
    Pull(source, 100, 100);
    const auto higher = SineTone(2000, 5, 48000, 0.5, 1);
    source.Play(higher);
    EXPECT_EQ(Pull(source, 1000, 960), Heard(0, higher, 1000));

    source.Hold(200);
    source.Play(tone);
    Pull(source, 100, 100);
    source.Play(higher);
    EXPECT_EQ(Pull(source, 1000, 64), Heard(100, higher, 1000));

    // Only whole samples are handed out.
    char odd[5];
    EXPECT_EQ(source.read(odd, sizeof odd), 4);
    source.close();
    EXPECT_TRUE(source.atEnd());
}

// Without an output or the tone module, the bell rings. The output is looked
// for at an alarm's first beep, and again only once the alarm is over.
TEST(ToneSpeaker, RingsTheBellWithoutAnOutputOrTheToneModule)
{
    test::RecordingSpeaker bell;
    int lookups = 0;
    ToneSpeaker speaker(
        bell,
        [&lookups] {
            ++lookups;
            return QAudioDevice();
        },
        std::chrono::milliseconds(50));
    EXPECT_EQ(lookups, 0);
    EXPECT_FALSE(speaker.Alarming());
    speaker.Beep(1000, 10);
    speaker.Beep(1000, 10);
    EXPECT_EQ(lookups, 1);
    EXPECT_TRUE(speaker.Alarming());
    EXPECT_FALSE(speaker.HasOutput());
    EXPECT_EQ(bell.beeps, (std::vector<std::pair<unsigned, unsigned>>{{1000, 10}, {1000, 10}}));
    EXPECT_TRUE(QTest::qWaitFor([&speaker] { return !speaker.Alarming(); }, 5000));
    speaker.Beep(1000, 10);
    EXPECT_EQ(lookups, 2);
    EXPECT_EQ(bell.beeps.size(), 3u);

    LazyToneSpeaker withoutModule(bell, {"/nonexistent"});
    withoutModule.Beep(1000, 10);
    EXPECT_EQ(bell.beeps.size(), 4u);
    LazyToneSpeaker withModule(bell, {"/nonexistent", TONE_MODULE_DIR});
    EXPECT_FALSE(withModule.Loaded());
    withModule.Beep(1000, 10);
    EXPECT_TRUE(withModule.Loaded());
}

} // namespace
} // namespace vostrel
