// The alarm's tone and the speaker that plays it.
#include "LazyToneSpeaker.h"
#include "SineTone.h"
#include "ToneSpeaker.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>

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

TEST(SineTone, HasTheFrequencyLengthAndLoudnessAskedFor)
{
    const auto tone = SineTone(1000, 10, 48000, 0.5, 2);
    ASSERT_EQ(tone.size(), 480u);
    int crossings = 0;
    for (std::size_t i = 1; i < tone.size(); ++i)
        crossings += (tone[i - 1] < 0) != (tone[i] < 0);
    EXPECT_NEAR(crossings, 20, 2); // ten cycles
    EXPECT_GT(Strength(tone, 1000, 48000), 20 * Strength(tone, 2000, 48000));
    EXPECT_GT(Strength(tone, 1000, 48000), 20 * Strength(tone, 400, 48000));
    int peak = 0;
    for (std::int16_t s : tone)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_NEAR(peak, 16384, 400);
    // Faded at both ends: no click.
    EXPECT_LT(std::abs(tone.front()), 200);
    EXPECT_LT(std::abs(tone.back()), 1000);
    EXPECT_EQ(SineTone(440, 250, 44100, 1.0, 5).size(), 11025u);
    EXPECT_TRUE(SineTone(440, 0, 44100, 1.0, 5).empty());
}

TEST(ToneSpeaker, OpensTheOutputAtTheFirstBeepAndFallsBackToTheBell)
{
    test::RecordingSpeaker bell;
    int lookups = 0;
    ToneSpeaker speaker(bell, [&lookups] {
        ++lookups;
        return QAudioDevice(); // no audio output on this desktop
    });
    EXPECT_EQ(lookups, 0);
    speaker.Beep(1000, 10);
    speaker.Beep(1000, 10);
    EXPECT_EQ(lookups, 1);
    EXPECT_FALSE(speaker.HasOutput());
    EXPECT_EQ(bell.beeps.size(), 2u);
}

TEST(LazyToneSpeaker, LoadsTheToneModuleOnlyAtTheFirstBeep)
{
    test::RecordingSpeaker bell;
    LazyToneSpeaker speaker(bell, {"/nonexistent", TONE_MODULE_DIR});
    EXPECT_FALSE(speaker.Loaded());
    speaker.Beep(1000, 10);
    EXPECT_TRUE(speaker.Loaded());
    EXPECT_LE(bell.beeps.size(), 1u); // the module rings the bell where there is no audio output

    test::RecordingSpeaker lonelyBell;
    LazyToneSpeaker without(lonelyBell, {"/nonexistent"});
    without.Beep(1000, 10);
    EXPECT_FALSE(without.Loaded());
    EXPECT_EQ(lonelyBell.beeps.size(), 1u);
}

} // namespace
} // namespace vostrel
