#pragma once

#include "core/vocabulary/Quantity.h"

#include <cstdint>
#include <vector>

namespace wattrix {

class MeasurementSettings;

namespace logging_download {

// Appends downloaded log values (raw, 0.01 dB, in the order the sensor sent
// them) to the histories of `settings`, rotating through the items of
// `itemMask` (BuildLogRotation). Returns the readings stored: none for an
// empty mask.
int StoreLogValues(MeasurementSettings& settings, QuantityMask itemMask, const std::vector<std::uint16_t>& values);

}  // namespace logging_download
}  // namespace wattrix
