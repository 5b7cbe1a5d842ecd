#pragma once

#include "core/vocabulary/Quantity.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace wattrix::protocol {

constexpr std::size_t kLogBlockSize = 512;
constexpr int kFirstBlockValues = 251;
constexpr int kLaterBlockValues = 250;
// Quiet time that tells the rest of a cancelled log transfer has passed.
constexpr int kLogDrainSettleMs = 200;

// Blocks to ask for when the sensor holds `storedValues` values.
constexpr int LogBlockCount(int storedValues) { return storedValues / 250 + 1; }

// The logged quantities in the order the values rotate through them: the
// mask bits 0x01 AVG, 0x02 PEAK, 0x04 REV, 0x08 PULSE, each present bit
// taking the next position. Returns the number of positions (0 to 4).
struct LogRotation {
  std::array<Quantity, 4> quantities{};
  int size = 0;
};
LogRotation BuildLogRotation(QuantityMask itemMask);

// True when a log reply starts with its "[D" tag.
bool IsLogBlock(const std::uint8_t* data, std::size_t size);

// Calls visit(rawValue) for the values in `data`, which holds the reply
// from the start of block `firstBlock` on (512 bytes per block, the last
// block may be cut short), in order, until `maxValues` were visited.
// Returns the number of values visited. No allocation.
template <typename Visit>
int ForEachLogValue(const std::uint8_t* data, std::size_t size, int firstBlock, int maxValues,
                    Visit&& visit) {
  int visited = 0;
  if (data == nullptr || firstBlock < 0) return 0;
  for (std::size_t start = 0, block = static_cast<std::size_t>(firstBlock);
       start < size && visited < maxValues; start += kLogBlockSize, ++block) {
    const std::size_t first = block == 0 ? 2 : 0;
    const int values = block == 0 ? kFirstBlockValues : kLaterBlockValues;
    for (int j = 0; j < values && visited < maxValues; ++j) {
      const std::size_t at = start + first + 2 * static_cast<std::size_t>(j);
      if (at + 1 >= size) return visited;
      visit(static_cast<std::uint16_t>(data[at] | data[at + 1] << 8));
      ++visited;
    }
  }
  return visited;
}

}  // namespace wattrix::protocol
