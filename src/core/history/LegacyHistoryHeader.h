#pragma once

#include "core/history/HistoryHeader.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace wattrix {

// The 244-byte header of the older history layout (read only). Its records
// are three i32 in the order AVG, PEAK, VSWR.
class LegacyHistoryHeader final {
 public:
  static constexpr std::size_t kSize = 244;
  static constexpr std::size_t kRecordValues = 3;
  static constexpr std::size_t kExternalOffsetOffset = 136;
  static constexpr std::size_t kIntervalOffset = 140;
  static constexpr std::size_t kStatisticsOffset = 152;
  static constexpr std::size_t kDisplayOffset = 188;
  static constexpr std::size_t kTitleOffset = 212;
  // The mask of a converted header: AVG, VSWR, PEAK.
  static constexpr QuantityMask kConvertedMask{0x13};

  using Bytes = std::array<std::uint8_t, kSize>;

  LegacyHistoryHeader() = default;
  static LegacyHistoryHeader FromBytes(std::span<const std::uint8_t, kSize> bytes);

  const Bytes& Raw() const { return m_bytes; }
  Bytes& Raw() { return m_bytes; }

  // A file is in the older layout when its first byte is one of these.
  static bool IsLegacyFirstByte(std::uint8_t byte) {
    return byte == 0 || byte == 'A' || byte == 'B' || byte == 'C';
  }

  // The current header with the carried fields copied byte for byte, the
  // mask set to AVG, VSWR, PEAK and everything else zero.
  HistoryHeader ToCurrent() const;

 private:
  Bytes m_bytes{};
};

// Turns legacy records (AVG, PEAK, VSWR) into current ones (AVG, VSWR, PEAK)
// in place by swapping the 2nd and 3rd value of every record.
void ConvertLegacyRecords(std::span<std::int32_t> values);

}  // namespace wattrix
