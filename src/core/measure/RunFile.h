#pragma once

#include "core/history/HistoryFile.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace wattrix {

class MeasurementSettings;

// Number of records a live run gives for a mask: the smallest count among
// the mask's quantities, so that every record holds readings of the run.
std::size_t HistoryRecordCount(const MeasurementSettings& settings, QuantityMask mask);

// The header of a live run: identity, frequency, times, offset, interval,
// statistics and display ranges of all five quantities, and the title.
HistoryHeader BuildHistoryHeader(MeasurementSettings& settings, QuantityMask mask, std::string_view title);

// Writes a live run as a history file (header and one record per sample
// of the mask's quantities). The file is replaced only when the whole file
// was written; false on any failure, and on a mask without a known bit.
bool WriteHistoryFile(const std::string& path, MeasurementSettings& settings, QuantityMask mask,
                      std::string_view title);

}  // namespace wattrix
