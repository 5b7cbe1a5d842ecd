#pragma once

#include "core/history/HistoryHeader.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace wattrix {

// The column-name line of a history's CSV export for the file's model code
// (and, for PX420B and PX470B, its mask), with its CR LF.
std::string CsvColumnLine(int modelCode, QuantityMask mask);

// The whole CSV text of a history: header lines, column names, one line
// per record ("%.2f," between values, "%.2f\r\n" after the last).
std::string FormatHistoryCsv(const HistoryHeader& header, std::span<const std::int32_t> points,
                             std::size_t count, int modelCode);

// Writes the CSV export to path, replacing the file only when all of it was
// written. False when the file cannot be written or points holds fewer
// values than count records.
bool ExportHistoryCsv(const std::string& path, const HistoryHeader& header,
                      std::span<const std::int32_t> points, std::size_t count, int modelCode);

}  // namespace wattrix
