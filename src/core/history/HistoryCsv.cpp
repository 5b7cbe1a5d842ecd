#include "core/history/HistoryCsv.h"

#include "core/history/HistoryLayout.h"
#include "core/vocabulary/Quantity.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/NumberText.h"

namespace wattrix {

namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;

// The header lines; text fields are written as UTF-8.
std::string HeaderLines(const HistoryHeader& header) {
  std::string out;
  out += "Model, " + header.ModelName() + "\r\n";
  out += "SN, " + header.SerialNumber() + "\r\n";
  out += std::string("Type, ") + (header.SensorType() == 'A' ? "Directional" : "Terminating") + "\r\n";
  out += "Frequency, " + FormatHundredths(header.FrequencyX100()) + "\r\n";
  out += "StartTime, " + header.StartTime() + "\r\n";
  out += "StopTime, " + header.StopTime() + "\r\n";
  out += "Title, " + header.Title() + "\r\n";
  return out;
}

// Emits the CSV text in blocks to `sink`; false as soon as the sink fails.
template <typename Sink>
bool EmitCsv(const HistoryHeader& header, std::span<const std::int32_t> points, std::size_t count,
             int modelCode, Sink sink) {
  const auto k = static_cast<std::size_t>(history::RecordLength(header.Mask()));
  if (count != 0 && (k == 0 || count > points.size() / k)) return false;
  std::string block = HeaderLines(header) + CsvColumnLine(modelCode, header.Mask());
  block.reserve(kChunkBytes + 256);
  for (std::size_t i = 0; i < count; ++i) {
    const std::int32_t* record = points.data() + i * k;
    for (std::size_t v = 0; v < k; ++v) {
      AppendHundredths(block, record[v]);
      if (v + 1 < k) {
        block.push_back(',');
      } else {
        block += "\r\n";
      }
    }
    if (block.size() >= kChunkBytes) {
      if (!sink(block)) return false;
      block.clear();
    }
  }
  return sink(block);
}

}  // namespace

std::string CsvColumnLine(int modelCode, QuantityMask mask) {
  switch (modelCode) {
    case 0:
    case 2:
    case 7:
      return "AVG, VSWR, PEAK\r\n";
    case 1:
    case 6:
      return "AVG\r\n";
    case 3:
    case 8:
      return "PEAK\r\n";
    case 4:
      return "AVG, PAR, PEAK\r\n";
    case 5:
    case 9: {
      std::string line;
      if (mask & mask::kAvg) line += "AVG,";
      if (mask & mask::kRev) line += "REV,";
      if (mask & mask::kVswr) line += modelCode == 9 ? "PAR," : "VSWR,";
      if (mask & mask::kPeak) line += "PEAK,";
      if (mask & mask::kPulse) line += "PULSE,";
      return line + "\r\n";
    }
    default:
      return "AVG, PEAK, VSWR\r\n";
  }
}

std::string FormatHistoryCsv(const HistoryHeader& header, std::span<const std::int32_t> points,
                             std::size_t count, int modelCode) {
  std::string out;
  EmitCsv(header, points, count, modelCode, [&out](const std::string& block) {
    out += block;
    return true;
  });
  return out;
}

bool ExportHistoryCsv(const std::string& path, const HistoryHeader& header,
                      std::span<const std::int32_t> points, std::size_t count, int modelCode) {
  AtomicFile file(path);
  if (!file.Open()) return false;
  const bool written = EmitCsv(header, points, count, modelCode,
                               [&file](const std::string& block) { return file.Write(block); });
  return written && file.Commit();
}

}  // namespace wattrix
