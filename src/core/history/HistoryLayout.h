#pragma once

#include "core/vocabulary/Quantity.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace wattrix {

// The three orders of the history quantities. Point records hold the
// quantities of the mask in record order; the header's statistics and
// display-range tables hold all five in table order.
namespace history {

// Quantity indices in point-record order: AVG, REV, VSWR/PAR, PEAK, PULSE.
constexpr std::array<Quantity, 5> kRecordOrder = {kAvg, kRev, kVswr, kPeak, kPulse};
// Quantity indices in header-table order: AVG, REV, PEAK, VSWR/PAR, PULSE.
constexpr std::array<Quantity, 5> kTableOrder = {kAvg, kRev, kPeak, kVswr, kPulse};
// Names of the table entries, in table order.
constexpr std::array<const char*, 5> kTableNames = {"AVG", "REV", "PEAK", "VSWR", "PULSE"};

constexpr QuantityMask kKnownBits{0x1F};

// Entry of a quantity in the header tables (AVG 0, REV 1, VSWR/PAR 3,
// PEAK 2, PULSE 4); -1 for anything else.
int TableEntry(Quantity quantity);
// Number of values in one point record: the known bits of the mask.
int RecordLength(QuantityMask mask);
// Position of the quantity's value in a record of this mask, or -1 when the
// mask does not hold it.
int RecordPosition(QuantityMask mask, Quantity quantity);
// The quantity a history window shows first: the first present in record
// order; none for a mask without a known bit.
std::optional<Quantity> FirstQuantity(QuantityMask mask);

// A reading as stored: times 100, rounded half away from zero; values
// beyond the i32 range are held at its ends and not-a-number is 0.
std::int32_t ScaleReading(float value);

// Masks the live windows store: the measurement window's by model code,
// and the pulse window's.
QuantityMask MeasurementWindowMask(int modelCode);
constexpr QuantityMask kPulseWindowMask = mask::kPulse;

// "%04d-%02d-%02d %02d:%02d:%02d" of a time in seconds since 1970, in local
// time; "0000-00-00 00:00:00" when the time cannot be converted.
std::string FormatLocalTime(std::int64_t seconds);
constexpr const char* kNoTime = "0000-00-00 00:00:00";

}  // namespace history
}  // namespace wattrix
