#include "core/device/LogBlockDecoder.h"

#include "core/vocabulary/Quantity.h"

namespace wattrix::protocol {

LogRotation BuildLogRotation(int itemMask) {
  constexpr std::array<std::array<int, 2>, 4> kOrder{{
      {mask::kAvg, kAvg},
      {mask::kPeak, kPeak},
      {mask::kRev, kRev},
      {mask::kPulse, kPulse},
  }};
  LogRotation rotation;
  for (const auto& [bit, quantity] : kOrder)
    if ((itemMask & bit) != 0) rotation.quantities[static_cast<std::size_t>(rotation.size++)] = quantity;
  return rotation;
}

bool IsLogBlock(const std::uint8_t* data, std::size_t size) {
  return data != nullptr && size >= 2 && data[0] == '[' && data[1] == 'D';
}

}  // namespace wattrix::protocol
