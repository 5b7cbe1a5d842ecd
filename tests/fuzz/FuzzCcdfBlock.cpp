// Decodes arbitrary bytes as a CCDF block of each size the sensor sends.
#include "core/device/CcdfBlockDecoder.h"
#include "core/device/SensorProtocol.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wattrix::protocol;
  wattrix::CcdfHistogram histogram;
  // The input as it came, and cut or padded to each block size.
  (void)DecodeCcdfBlock(data, size, 0, histogram);
  const std::int32_t offset = size >= 4 ? ReadInt32(data) : 0;
  for (std::size_t length : {kCcdfBlockSmall, kCcdfBlockMedium, kCcdfBlockLarge}) {
    std::vector<std::uint8_t> block(length, 0);
    for (std::size_t i = 0; i < length && i < size; ++i) block[i] = data[i];
    if (DecodeCcdfBlock(block.data(), block.size(), offset, histogram) &&
        histogram.size() > CcdfCountsInBlock(length))
      __builtin_trap();
  }
  return 0;
}
