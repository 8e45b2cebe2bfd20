#pragma once

#include <cstdint>
#include <vector>

namespace vostrel {

// A sine tone as signed 16-bit mono samples: frequencyHz for durationMs at
// sampleRate, peaking at amplitude (0..1) of full scale, faded in and out
// over fadeMs at each end so that it starts and stops without a click.
std::vector<std::int16_t> SineTone(double frequencyHz, unsigned durationMs, unsigned sampleRate,
                                   double amplitude, double fadeMs);

} // namespace vostrel
