#include "core/history/HistoryHeader.h"

#include "core/history/LittleEndian.h"
#include "core/history/SingleByteText.h"

#include <algorithm>

namespace wattrix {

HistoryHeader HistoryHeader::FromBytes(std::span<const std::uint8_t, kSize> bytes) {
  HistoryHeader header;
  std::copy(bytes.begin(), bytes.end(), header.m_bytes.begin());
  return header;
}

std::int32_t HistoryHeader::FrequencyX100() const { return le::LoadI32(&m_bytes[kFrequencyOffset]); }

void HistoryHeader::SetFrequencyX100(std::int32_t value) { le::StoreI32(&m_bytes[kFrequencyOffset], value); }

float HistoryHeader::ExternalOffset() const { return FloatAt(kExternalOffsetOffset); }

void HistoryHeader::SetExternalOffset(float dB) { SetFloatAt(kExternalOffsetOffset, dB); }

QuantityStatistics HistoryHeader::Statistics(int entry) const {
  if (entry < 0 || entry >= kEntries) return {};
  const std::size_t at = kStatisticsOffset + 12 * static_cast<std::size_t>(entry);
  return {FloatAt(at), FloatAt(at + 4), FloatAt(at + 8)};
}

void HistoryHeader::SetStatistics(int entry, const QuantityStatistics& stats) {
  if (entry < 0 || entry >= kEntries) return;
  const std::size_t at = kStatisticsOffset + 12 * static_cast<std::size_t>(entry);
  SetFloatAt(at, stats.min);
  SetFloatAt(at + 4, stats.max);
  SetFloatAt(at + 8, stats.average);
}

DisplayRange HistoryHeader::Display(int entry) const {
  if (entry < 0 || entry >= kEntries) return {};
  const std::size_t at = kDisplayOffset + 8 * static_cast<std::size_t>(entry);
  return {FloatAt(at), FloatAt(at + 4)};
}

void HistoryHeader::SetDisplay(int entry, const DisplayRange& range) {
  if (entry < 0 || entry >= kEntries) return;
  const std::size_t at = kDisplayOffset + 8 * static_cast<std::size_t>(entry);
  SetFloatAt(at, range.low);
  SetFloatAt(at + 4, range.high);
}

void HistoryHeader::SetTitle(std::string_view utf8) {
  SetText(kTitleOffset, kTitleWidth, Utf8Prefix(utf8, kMaxTitleLength));
}

std::string HistoryHeader::Text(std::size_t offset, std::size_t width) const {
  return ReadTextField(std::span<const std::uint8_t>(&m_bytes[offset], width));
}

void HistoryHeader::SetText(std::size_t offset, std::size_t width, std::string_view utf8) {
  WriteTextField(std::span<std::uint8_t>(&m_bytes[offset], width), utf8);
}

float HistoryHeader::FloatAt(std::size_t offset) const { return le::LoadF32(&m_bytes[offset]); }

void HistoryHeader::SetFloatAt(std::size_t offset, float value) { le::StoreF32(&m_bytes[offset], value); }

}  // namespace wattrix
