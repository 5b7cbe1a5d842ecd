#include "core/device/LogBlockDecoder.h"

#include "core/vocabulary/Quantity.h"

namespace wattrix::protocol {

LogRotation BuildLogRotation(QuantityMask itemMask) {
  constexpr std::array<Quantity, 4> kOrder{kAvg, kPeak, kRev, kPulse};
  LogRotation rotation;
  for (const Quantity quantity : kOrder)
    if (itemMask.Has(quantity))
      rotation.quantities[static_cast<std::size_t>(rotation.size++)] = quantity;
  return rotation;
}

bool IsLogBlock(const std::uint8_t* data, std::size_t size) {
  return data != nullptr && size >= 2 && data[0] == '[' && data[1] == 'D';
}

}  // namespace wattrix::protocol
