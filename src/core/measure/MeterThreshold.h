#pragma once

#include <cstdint>

namespace wattrix {

// One coloured zone of a gauge scale, in the units of the quantity shown.
struct MeterThreshold {
  std::uint32_t colour = 0;  // ARGB
  double start = 0;
  double end = 1.0;
  friend bool operator==(const MeterThreshold&, const MeterThreshold&) = default;
};

// Colours of the limit zones.
namespace zone_colour {
constexpr std::uint32_t kOutOfLimit = 0xFFFF0000;  // red
constexpr std::uint32_t kInLimit = 0xFF008000;     // green
}  // namespace zone_colour

}  // namespace wattrix
