#include "core/device/CcdfBlockDecoder.h"

#include "core/device/SensorProtocol.h"

#include <limits>

namespace wattrix::protocol {

namespace {

constexpr std::size_t kSection = 512;
constexpr std::size_t kCountsPerSection = 250;

// Byte position of count i: the first section starts after "[C", the
// others at their first byte.
constexpr std::size_t CountPosition(std::size_t i) {
  const std::size_t section = i / kCountsPerSection;
  const std::size_t within = i % kCountsPerSection;
  return section == 0 ? 2 + 2 * within : section * kSection + 2 * within;
}

}  // namespace

std::size_t CcdfCountsInBlock(std::size_t size) {
  switch (size) {
    case kCcdfBlockSmall:
      return 587;  // the counts before byte 1198
    case kCcdfBlockMedium:
      return 3000;  // 12 full sections
    case kCcdfBlockLarge:
      return 3744;  // 14 full sections and 244 counts, ending at byte 7655
    default:
      return 0;
  }
}

bool DecodeCcdfBlock(const std::uint8_t* data, std::size_t size, std::int32_t offsetKey,
                     CcdfHistogram& histogram) {
  histogram.clear();
  const std::size_t counts = CcdfCountsInBlock(size);
  if (data == nullptr || counts == 0 || data[0] != '[' || data[1] != 'C') return false;

  const bool small = size == kCcdfBlockSmall;
  const std::int64_t first = small ? offsetKey : kCcdfFirstFixedKey;
  const std::int64_t step = small ? 10 : 1;
  for (std::size_t i = 0; i < counts; ++i) {
    const std::uint16_t count = ReadUInt16(data + CountPosition(i));
    if (count == 0) continue;
    const std::int64_t key = first + step * static_cast<std::int64_t>(i);
    // An offset at the edge of the field must not wrap into other bins.
    if (key > std::numeric_limits<std::int32_t>::max() || key < std::numeric_limits<std::int32_t>::min())
      break;
    histogram.emplace_hint(histogram.end(), static_cast<std::int32_t>(key), count);
  }
  return true;
}

}  // namespace wattrix::protocol
