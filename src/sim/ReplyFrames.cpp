#include "sim/ReplyFrames.h"

#include <algorithm>

namespace wattrix::sim::frames {

namespace {

constexpr std::size_t kCountsPerSection = 250;
constexpr std::size_t kFirstBlockLogValues = 251;

void PutU16(Bytes& out, std::size_t at, std::uint16_t value) {
  out[at] = static_cast<std::uint8_t>(value & 0xFF);
  out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutI32(Bytes& out, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

// Byte offset of count `i` in a CCDF block.
std::size_t CcdfCountOffset(std::size_t i) {
  const std::size_t section = i / kCountsPerSection;
  const std::size_t within = i % kCountsPerSection;
  return section * kSectionSize + (section == 0 ? 2 : 0) + 2 * within;
}

// The frame's closing "]" CR in the last two bytes, which carry no data.
void Close(Bytes& out) {
  if (out.size() < 4) return;
  out[out.size() - 2] = ']';
  out[out.size() - 1] = '\r';
}

}  // namespace

Bytes Ack() { return {'[', 'T', ',', ']', '\r'}; }

Bytes Values(char letter, std::span<const std::int32_t> values) {
  Bytes out{'[', static_cast<std::uint8_t>(letter), ','};
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out.push_back(',');
    PutI32(out, values[i]);
  }
  out.push_back(']');
  out.push_back('\r');
  return out;
}

Bytes Values(char letter, std::initializer_list<std::int32_t> values) {
  return Values(letter, std::span<const std::int32_t>(values.begin(), values.size()));
}

std::size_t CcdfCountsIn(std::size_t blockSize) {
  switch (blockSize) {
    case 1536:
      return 587;  // counts before byte 1198
    case 6144:
      return 3000;  // 12 full sections
    case 7680:
      return 3744;  // the last section carries 244
    default:
      return 0;
  }
}

Bytes CcdfBlock(std::size_t blockSize, std::span<const std::uint16_t> counts) {
  Bytes out(blockSize, 0);
  out[0] = '[';
  out[1] = 'C';
  const std::size_t n = std::min(counts.size(), CcdfCountsIn(blockSize));
  for (std::size_t i = 0; i < n; ++i) PutU16(out, CcdfCountOffset(i), counts[i]);
  if (blockSize == 7680) {
    // The word after the counts carries the sample total of the sweep.
    std::uint32_t total = 0;
    for (const auto c : counts) total += c;
    for (int i = 0; i < 4; ++i)
      out[7664 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(total >> (8 * i));
  }
  Close(out);
  return out;
}

std::size_t LogValuesIn(std::size_t blocks) {
  return blocks == 0 ? 0 : kFirstBlockLogValues + (blocks - 1) * kCountsPerSection;
}

Bytes LogBlocks(std::size_t blocks, std::span<const std::uint16_t> values) {
  Bytes out(blocks * kSectionSize, 0);
  if (blocks == 0) return out;
  out[0] = '[';
  out[1] = 'D';
  const std::size_t n = std::min(values.size(), LogValuesIn(blocks));
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = i < kFirstBlockLogValues
                               ? 2 + 2 * i
                               : ((i - kFirstBlockLogValues) / kCountsPerSection + 1) * kSectionSize +
                                     2 * ((i - kFirstBlockLogValues) % kCountsPerSection);
    PutU16(out, at, values[i]);
  }
  Close(out);
  return out;
}

}  // namespace wattrix::sim::frames
