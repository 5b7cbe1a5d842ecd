#pragma once

#include <cstdint>
#include <map>

namespace wattrix {

// Samples per power bin of one CCDF sweep: key = the bin's power in 0.01 dB
// (key / 100 is dBm), value = number of samples. Bins with no sample are
// absent; iteration runs in ascending key order.
using CcdfHistogram = std::map<std::int32_t, std::int32_t>;

}  // namespace wattrix
