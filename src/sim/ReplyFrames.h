#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace wattrix::sim {

using Bytes = std::vector<std::uint8_t>;

// The sensor's reply frames: "[" letter "," values separated by "," "]" CR,
// each value a signed 32-bit little-endian number.
namespace frames {

constexpr std::size_t kAckLength = 5;
constexpr std::size_t kSingleLength = 9;
constexpr std::size_t kSectionSize = 512;  // CCDF sections and log blocks

// "[T,]" CR.
Bytes Ack();
// "[" letter "," value... "]" CR.
Bytes Values(char letter, std::span<const std::int32_t> values);
Bytes Values(char letter, std::initializer_list<std::int32_t> values);

// A CCDF block of `blockSize` bytes (1536, 6144 or 7680): "[C", then the
// counts as unsigned 16-bit little-endian numbers, 250 per 512-byte
// section (after "[C" in the first section, from byte 0 in the others);
// `counts` must not hold more than the block carries.
Bytes CcdfBlock(std::size_t blockSize, std::span<const std::uint16_t> counts);
// Counts a CCDF block of this size carries.
std::size_t CcdfCountsIn(std::size_t blockSize);

// `blocks` log blocks of 512 bytes: "[D", 251 values in block 0 (from
// byte 2), 250 in every later one (from its byte 0); unused places are 0.
Bytes LogBlocks(std::size_t blocks, std::span<const std::uint16_t> values);
// Values that `blocks` log blocks carry.
std::size_t LogValuesIn(std::size_t blocks);

}  // namespace frames
}  // namespace wattrix::sim
