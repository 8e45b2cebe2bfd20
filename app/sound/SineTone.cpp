#include "app/sound/SineTone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vostrel {

std::vector<std::int16_t> SineTone(double frequencyHz, unsigned durationMs, unsigned sampleRate,
                                   double amplitude, double fadeMs)
{
    const std::size_t count = static_cast<std::size_t>(sampleRate) * durationMs / 1000;
    const double fadeSamples = std::max(1.0, fadeMs * sampleRate / 1000.0);
    const double peak = std::clamp(amplitude, 0.0, 1.0) * 32767.0;
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double fromEdge = static_cast<double>(std::min(i, count - 1 - i));
        const double envelope = std::min(1.0, fromEdge / fadeSamples);
        const double phase = 2.0 * std::numbers::pi * frequencyHz * static_cast<double>(i) / sampleRate;
        samples[i] = static_cast<std::int16_t>(std::lround(peak * envelope * std::sin(phase)));
    }
    return samples;
}

} // namespace vostrel
