#pragma once

#include "core/vocabulary/CcdfHistogram.h"

#include <cstddef>
#include <cstdint>

namespace wattrix::protocol {

// The three CCDF block shapes the firmware generations send.
constexpr std::size_t kCcdfBlockSmall = 1536;   // 587 counts, keys from the offset, step 10
constexpr std::size_t kCcdfBlockMedium = 6144;  // 3000 counts, keys 2176, 2177, …
constexpr std::size_t kCcdfBlockLarge = 7680;   // 3744 counts, keys 2176, 2177, …
constexpr std::int32_t kCcdfFirstFixedKey = 2176;

// Number of counts a block of `size` bytes carries (0 for another size).
std::size_t CcdfCountsInBlock(std::size_t size);

// Decodes a "[C" block of one of the three sizes into `histogram`, which is
// emptied first. Zero counts use up their key but are not stored.
// `offsetKey` (external offset in 0.01 dB) is the first key of the small
// block. False, with the histogram empty, for a missing tag or another size.
bool DecodeCcdfBlock(const std::uint8_t* data, std::size_t size, std::int32_t offsetKey,
                     CcdfHistogram& histogram);

}  // namespace wattrix::protocol
