#include "core/measure/RunFile.h"

#include "core/history/HistoryLayout.h"
#include "core/measure/MeasurementSettings.h"
#include "core/vocabulary/Quantity.h"
#include "core/vocabulary/SensorModel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace wattrix {

namespace {

std::int32_t FrequencyTimes100(float mhz) {
  const float scaled = mhz * 100.0f;
  if (std::isnan(scaled)) return 0;
  if (scaled >= 2147483647.0f) return std::numeric_limits<std::int32_t>::max();
  if (scaled <= -2147483648.0f) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(scaled);
}

}  // namespace

std::size_t HistoryRecordCount(const MeasurementSettings& settings, QuantityMask mask) {
  std::size_t count = 0;
  bool first = true;
  for (const Quantity q : history::kRecordOrder) {
    if (!mask.Has(q)) continue;
    const auto n = static_cast<std::size_t>(std::max(0, settings.Count(q)));
    count = first ? n : std::min(count, n);
    first = false;
  }
  return count;
}

HistoryHeader BuildHistoryHeader(MeasurementSettings& settings, QuantityMask mask, std::string_view title) {
  HistoryHeader header;
  header.SetMask(mask & history::kKnownBits);
  const auto* row = FindModelByCode(settings.ModelCode());
  header.SetModelName(row ? row->name : "");
  header.SetSerialNumber(settings.SerialNumber());
  header.SetSensorType(row && row->sensorKind == sensor_kind::kDirectional ? 'A' : 'B');
  header.SetFrequencyX100(FrequencyTimes100(settings.Frequency()));
  header.SetStartTime(history::FormatLocalTime(settings.StartTime()));
  header.SetStopTime(history::FormatLocalTime(settings.LastReadingTime()));
  header.SetExternalOffset(settings.ExternalOffset());

  const std::size_t n = HistoryRecordCount(settings, mask);
  int interval = 0;
  if (n != 0) {
    const double ms = static_cast<double>(settings.LastReadingTime() - settings.StartTime()) /
                      static_cast<double>(n) * 1000.0;
    if (std::isfinite(ms) && std::fabs(ms) < 2147483647.0) interval = static_cast<int>(ms);
  }
  if (settings.StartTime() != 0) header.SetIntervalText(std::to_string(interval) + " ms");

  for (int entry = 0; entry < HistoryHeader::kEntries; ++entry) {
    const Quantity q = history::kTableOrder[static_cast<std::size_t>(entry)];
    header.SetStatistics(entry, {settings.Min(q), settings.Max(q), settings.Average(q)});
    header.SetDisplay(entry, {settings.DisplayLow(q), settings.DisplayHigh(q)});
  }
  if (!title.empty()) header.SetTitle(title);
  return header;
}

bool WriteHistoryFile(const std::string& path, MeasurementSettings& settings, QuantityMask mask,
                      std::string_view title) {
  if (history::RecordLength(mask) == 0) return false;
  const HistoryHeader header = BuildHistoryHeader(settings, mask, title);
  std::array<const float*, history::kRecordOrder.size()> columns{};
  std::size_t k = 0;
  for (const Quantity q : history::kRecordOrder) {
    if (!mask.Has(q)) continue;
    int available = 0;
    columns[k++] = settings.GetReadings(q, available);
  }
  return WriteHistoryFile(path, header, std::span(columns.data(), k), HistoryRecordCount(settings, mask));
}

}  // namespace wattrix
