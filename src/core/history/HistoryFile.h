#pragma once

#include "core/history/HistoryHeader.h"
#include "core/history/LegacyHistoryHeader.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wattrix {

// Writes a history file: the header as given and `count` records whose
// values come from `columns`, one column per quantity of the header's mask
// in record order (a null column writes zeros; every other column holds at
// least `count` readings). The file is replaced only when the whole file
// was written; false on any failure, on a mask without a known bit and on
// a column count other than the mask's record length.
bool WriteHistoryFile(const std::string& path, const HistoryHeader& header,
                      std::span<const float* const> columns, std::size_t count);

// Reads a file of the current layout. False when it cannot be read, is
// shorter than its header, its mask has no known bit or its payload is not
// whole records; the outputs are changed only on success.
bool ReadHistoryFile(const std::string& path, HistoryHeader& header, std::vector<std::int32_t>& points,
                     std::size_t& count);

// Reads a file of the older layout (244-byte header, 12-byte records), the
// records as stored (AVG, PEAK, VSWR).
bool ReadLegacyHistoryFile(const std::string& path, LegacyHistoryHeader& header,
                           std::vector<std::int32_t>& points, std::size_t& count);

// True when the file's first byte marks the older layout; a file that
// cannot be opened is not legacy.
bool IsLegacyHistoryFile(const std::string& path);

// Writes a held history back: the header as it is and count records of
// the header mask's length. False on failure or when points holds fewer
// values than count records.
bool RewriteHistoryFile(const std::string& path, const HistoryHeader& header,
                        std::span<const std::int32_t> points, std::size_t count);

}  // namespace wattrix
