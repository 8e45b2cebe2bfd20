// The alarm's tone and the speakers that play it.
#include "LazyToneSpeaker.h"
#include "SineTone.h"
#include "ToneSpeaker.h"
#include "UiTestSupport.h"

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

// Without an audio output, or without the module that plays tones, the
// desktop's bell rings; the output is looked for once, at the first beep.
TEST(ToneSpeaker, RingsTheBellWithoutAnOutputOrTheToneModule)
{
    test::RecordingSpeaker bell;
    int lookups = 0;
    ToneSpeaker speaker(bell, [&lookups] {
        ++lookups;
        return QAudioDevice();
    });
    EXPECT_EQ(lookups, 0);
    speaker.Beep(1000, 10);
    speaker.Beep(1000, 10);
    EXPECT_EQ(lookups, 1);
    EXPECT_EQ(bell.beeps.size(), 2u);
    LazyToneSpeaker withoutModule(bell, {"/nonexistent"});
    withoutModule.Beep(1000, 10);
    EXPECT_EQ(bell.beeps.size(), 3u);
    LazyToneSpeaker withModule(bell, {"/nonexistent", TONE_MODULE_DIR});
    EXPECT_FALSE(withModule.Loaded());
    withModule.Beep(1000, 10);
    EXPECT_TRUE(withModule.Loaded());
}

} // namespace
} // namespace vostrel
