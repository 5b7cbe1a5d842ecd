#pragma once

#include "core/vocabulary/CcdfHistogram.h"

#include <cstdint>

namespace wattrix::protocol {

// The frames carry no checksum, so a changed value byte can only be caught
// by what no sensor can send. These are the bounds that tell.

// Samples in every CCDF sweep the sensors take.
constexpr std::int64_t kCcdfSweepSamples = 10000;
// How far outside the model table's power ranges a reading may still lie.
constexpr int kPowerMarginDb = 40;

// Lowest and highest raw power reading (0.01 dB) any of the nine models can
// deliver: the widest range of the model table's power quantities, widened
// by the margin.
std::int32_t LowestPlausiblePower();
std::int32_t HighestPlausiblePower();
bool PlausiblePower(std::int32_t hundredths);

// A sweep holds exactly the sensor's sample count, in bins whose keys lie
// within the plausible range (moved by the request's external offset,
// `offsetKey` in 0.01 dB, when the layout keys from it).
bool PlausibleCcdfSweep(const CcdfHistogram& histogram, std::int32_t offsetKey);

}  // namespace wattrix::protocol
