#include "core/history/HistoryLayout.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

namespace wattrix::history {

int TableEntry(Quantity quantity) {
  for (int entry = 0; entry < static_cast<int>(kTableOrder.size()); ++entry) {
    if (kTableOrder[static_cast<std::size_t>(entry)] == quantity) return entry;
  }
  return -1;
}

int RecordLength(QuantityMask mask) {
  int k = 0;
  for (const Quantity q : kRecordOrder) k += mask.Has(q) ? 1 : 0;
  return k;
}

int RecordPosition(QuantityMask mask, Quantity quantity) {
  if (!mask.Has(quantity)) return -1;
  int position = 0;
  for (const Quantity q : kRecordOrder) {
    if (q == quantity) return position;
    if (mask.Has(q)) ++position;
  }
  return -1;
}

std::optional<Quantity> FirstQuantity(QuantityMask mask) {
  for (const Quantity q : kRecordOrder) {
    if (mask.Has(q)) return q;
  }
  return std::nullopt;
}

std::int32_t ScaleReading(float value) {
  const double v = value;
  if (std::isnan(v)) return 0;
  const double scaled = v >= 0 ? (v + 0.005) * 100 : (v - 0.005) * 100;
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  if (scaled >= kMax) return std::numeric_limits<std::int32_t>::max();
  if (scaled <= kMin) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(scaled);
}

QuantityMask MeasurementWindowMask(int modelCode) {
  switch (modelCode) {
    case 1:
    case 6:
      return mask::kAvg;
    case 3:
    case 8:
      return mask::kPeak;
    case 0:
    case 2:
    case 4:
    case 5:
    case 7:
    case 9:
      return mask::kAvg | mask::kVswr | mask::kPeak;
    default:
      return mask::kAvg;
  }
}

std::string FormatLocalTime(std::int64_t seconds) {
  const auto t = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (static_cast<std::int64_t>(t) != seconds || !::localtime_r(&t, &local) || local.tm_year + 1900 > 9999 ||
      local.tm_year + 1900 < 0) {
    return kNoTime;
  }
  char buffer[80];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return buffer;
}

}  // namespace wattrix::history
