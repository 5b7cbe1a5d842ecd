// Reads arbitrary bytes as a history file of the older layout and converts
// what was accepted.
#include "FuzzHistorySupport.h"

#include "core/history/HistoryCsv.h"
#include "core/history/HistoryDocument.h"
#include "core/history/HistoryFile.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wattrix;
  const std::string path = fuzz::WriteInput("legacy.psh", data, size);

  LegacyHistoryHeader header;
  std::vector<std::int32_t> points;
  std::size_t count = 0;
  if (ReadLegacyHistoryFile(path, header, points, count)) {
    if (points.size() != count * 3 || points.capacity() * 4 > size) __builtin_trap();
    ConvertLegacyRecords(points);
    const HistoryHeader converted = header.ToCurrent();
    if (converted.Mask() != LegacyHistoryHeader::kConvertedMask) __builtin_trap();
    (void)FormatHistoryCsv(converted, points, count, 0);
  }
  (void)IsLegacyHistoryFile(path);

  HistoryDocument document;
  if (document.Load(path) && IsLegacyHistoryFile(path) && !document.Path().empty()) __builtin_trap();
  return 0;
}
