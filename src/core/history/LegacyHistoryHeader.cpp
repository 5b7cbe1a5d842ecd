#include "core/history/LegacyHistoryHeader.h"

#include <algorithm>
#include <utility>

namespace wattrix {

LegacyHistoryHeader LegacyHistoryHeader::FromBytes(std::span<const std::uint8_t, kSize> bytes) {
  LegacyHistoryHeader header;
  std::copy(bytes.begin(), bytes.end(), header.m_bytes.begin());
  return header;
}

HistoryHeader LegacyHistoryHeader::ToCurrent() const {
  HistoryHeader current;
  auto& out = current.Raw();
  const auto copy = [&](std::size_t from, std::size_t size, std::size_t to) {
    std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(from), size,
                out.begin() + static_cast<std::ptrdiff_t>(to));
  };
  current.SetMask(kConvertedMask);
  copy(1, 10, HistoryHeader::kModelOffset);
  copy(11, 10, HistoryHeader::kSerialOffset);
  copy(21, 1, HistoryHeader::kTypeOffset);
  copy(24, 4, HistoryHeader::kFrequencyOffset);
  copy(28, 20, HistoryHeader::kStartOffset);
  copy(48, 20, HistoryHeader::kStopOffset);
  copy(kExternalOffsetOffset, 4, HistoryHeader::kExternalOffsetOffset);
  copy(kIntervalOffset, 10, HistoryHeader::kIntervalOffset);
  // Statistics and display ranges come as AVG, PEAK, VSWR; the current
  // table has AVG at entry 0, PEAK at 2 and VSWR at 3.
  copy(kStatisticsOffset, 12, HistoryHeader::kStatisticsOffset + 0);
  copy(kStatisticsOffset + 12, 12, HistoryHeader::kStatisticsOffset + 24);
  copy(kStatisticsOffset + 24, 12, HistoryHeader::kStatisticsOffset + 36);
  copy(kDisplayOffset, 8, HistoryHeader::kDisplayOffset + 0);
  copy(kDisplayOffset + 8, 8, HistoryHeader::kDisplayOffset + 16);
  copy(kDisplayOffset + 16, 8, HistoryHeader::kDisplayOffset + 24);
  copy(kTitleOffset, 32, HistoryHeader::kTitleOffset);
  return current;
}

void ConvertLegacyRecords(std::span<std::int32_t> values) {
  for (std::size_t i = 0; i + 2 < values.size(); i += LegacyHistoryHeader::kRecordValues) {
    std::swap(values[i + 1], values[i + 2]);
  }
}

}  // namespace wattrix
