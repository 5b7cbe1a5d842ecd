#pragma once

#include "core/vocabulary/Quantity.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace wattrix {

struct QuantityStatistics {
  float min = 0;
  float max = 0;
  float average = 0;
  friend bool operator==(const QuantityStatistics&, const QuantityStatistics&) = default;
};

struct DisplayRange {
  float low = 0;
  float high = 0;
  friend bool operator==(const DisplayRange&, const DisplayRange&) = default;
};

// The 216-byte header of a history file, kept as the bytes of the file so
// that a history window edits it in place and writes it back unchanged.
// Fields are read and written little-endian at their offsets; the tables
// are indexed by table entry (history::TableEntry).
class HistoryHeader final {
 public:
  static constexpr std::size_t kSize = 216;
  static constexpr std::size_t kMaskOffset = 0;
  static constexpr std::size_t kModelOffset = 1;
  static constexpr std::size_t kSerialOffset = 11;
  static constexpr std::size_t kTypeOffset = 21;
  static constexpr std::size_t kFrequencyOffset = 24;
  static constexpr std::size_t kStartOffset = 28;
  static constexpr std::size_t kStopOffset = 48;
  static constexpr std::size_t kExternalOffsetOffset = 68;
  static constexpr std::size_t kIntervalOffset = 72;
  static constexpr std::size_t kStatisticsOffset = 84;
  static constexpr std::size_t kDisplayOffset = 144;
  static constexpr std::size_t kTitleOffset = 184;
  static constexpr std::size_t kNameWidth = 10;
  static constexpr std::size_t kTimeWidth = 20;
  static constexpr std::size_t kTitleWidth = 32;
  static constexpr std::size_t kMaxTitleLength = 30;
  static constexpr int kEntries = 5;

  using Bytes = std::array<std::uint8_t, kSize>;

  // All bytes zero.
  HistoryHeader() = default;
  explicit HistoryHeader(const Bytes& bytes) : m_bytes(bytes) {}
  static HistoryHeader FromBytes(std::span<const std::uint8_t, kSize> bytes);

  const Bytes& Raw() const { return m_bytes; }
  Bytes& Raw() { return m_bytes; }

  QuantityMask Mask() const { return QuantityMask(m_bytes[kMaskOffset]); }
  void SetMask(QuantityMask mask) { m_bytes[kMaskOffset] = static_cast<std::uint8_t>(mask.Bits()); }
  std::string ModelName() const { return Text(kModelOffset, kNameWidth); }
  void SetModelName(std::string_view utf8) { SetText(kModelOffset, kNameWidth, utf8); }
  std::string SerialNumber() const { return Text(kSerialOffset, kNameWidth); }
  void SetSerialNumber(std::string_view utf8) { SetText(kSerialOffset, kNameWidth, utf8); }
  // 'A' directional, 'B' terminating.
  char SensorType() const { return static_cast<char>(m_bytes[kTypeOffset]); }
  void SetSensorType(char type) { m_bytes[kTypeOffset] = static_cast<std::uint8_t>(type); }
  // Frequency in MHz times 100.
  std::int32_t FrequencyX100() const;
  void SetFrequencyX100(std::int32_t value);
  std::string StartTime() const { return Text(kStartOffset, kTimeWidth); }
  void SetStartTime(std::string_view utf8) { SetText(kStartOffset, kTimeWidth, utf8); }
  std::string StopTime() const { return Text(kStopOffset, kTimeWidth); }
  void SetStopTime(std::string_view utf8) { SetText(kStopOffset, kTimeWidth, utf8); }
  float ExternalOffset() const;
  void SetExternalOffset(float dB);
  std::string IntervalText() const { return Text(kIntervalOffset, kNameWidth); }
  void SetIntervalText(std::string_view utf8) { SetText(kIntervalOffset, kNameWidth, utf8); }

  // Statistics (min, max, average) and display range of a table entry;
  // an entry outside 0..4 reads zero and is not written.
  QuantityStatistics Statistics(int entry) const;
  void SetStatistics(int entry, const QuantityStatistics& stats);
  DisplayRange Display(int entry) const;
  void SetDisplay(int entry, const DisplayRange& range);

  std::string Title() const { return Text(kTitleOffset, kTitleWidth); }
  // Stores at most kMaxTitleLength characters.
  void SetTitle(std::string_view utf8);

  friend bool operator==(const HistoryHeader&, const HistoryHeader&) = default;

 private:
  std::string Text(std::size_t offset, std::size_t width) const;
  void SetText(std::size_t offset, std::size_t width, std::string_view utf8);
  float FloatAt(std::size_t offset) const;
  void SetFloatAt(std::size_t offset, float value);

  Bytes m_bytes{};
};

}  // namespace wattrix
