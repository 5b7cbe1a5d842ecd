#include "core/device/ReadingPlausibility.h"

#include "core/vocabulary/SensorModel.h"

#include <algorithm>
#include <array>
#include <climits>

namespace wattrix::protocol {

namespace {

struct PowerBounds {
  std::int32_t low;
  std::int32_t high;
};

PowerBounds ComputeBounds() {
  // AVG, REV, PEAK, PULSE and CCDF rows are powers; the VSWR/PAR slot is not.
  constexpr std::array<std::size_t, 5> kPowerSlots{0, 1, 3, 4, 5};
  int low = INT_MAX;
  int high = INT_MIN;
  for (const auto& row : SensorModels()) {
    for (const auto slot : kPowerSlots) {
      low = std::min(low, row.ranges[slot].low);
      high = std::max(high, row.ranges[slot].high);
    }
  }
  return {(low - kPowerMarginDb) * 100, (high + kPowerMarginDb) * 100};
}

const PowerBounds& Bounds() {
  static const PowerBounds bounds = ComputeBounds();
  return bounds;
}

}  // namespace

std::int32_t LowestPlausiblePower() { return Bounds().low; }

std::int32_t HighestPlausiblePower() { return Bounds().high; }

bool PlausiblePower(std::int32_t hundredths) {
  return hundredths >= Bounds().low && hundredths <= Bounds().high;
}

bool PlausibleCcdfSweep(const CcdfHistogram& histogram, std::int32_t offsetKey) {
  // Some block layouts key their bins from the external offset, others
  // from a fixed power: either way a key lies within the bounds moved by
  // the offset, or within the bounds themselves.
  const std::int64_t lowKey = static_cast<std::int64_t>(Bounds().low) + std::min<std::int32_t>(offsetKey, 0);
  const std::int64_t highKey =
      static_cast<std::int64_t>(Bounds().high) + std::max<std::int32_t>(offsetKey, 0);
  std::int64_t total = 0;
  for (const auto& [key, count] : histogram) {
    if (count < 0 || key < lowKey || key > highKey) return false;
    total += count;
  }
  return total == kCcdfSweepSamples;
}

}  // namespace wattrix::protocol
