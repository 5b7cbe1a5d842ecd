#pragma once

#include "core/vocabulary/Quantity.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wattrix {

// The checks and mappings of the mode setting pages (average/peak, pulse,
// CCDF), free of any dialog.
namespace settings_page {

// The control a failed validation points at.
enum class Field { Frequency, Offset, DisplayRange, LimitRange };

struct ValidationFailure {
  Field field;
  std::string key;     // string-table key of the error box
  int rangePage = -1;  // index of the failing range sub-page, −1 otherwise
  friend bool operator==(const ValidationFailure&, const ValidationFailure&) = default;
};

// Values of one range sub-page.
struct RangeValues {
  float displayLow = 0;
  float displayHigh = 0;
  float limitLow = 0;
  float limitHigh = 0;
};

// Frequency within the model's range (both ends inclusive; no check for a
// code without a row), offset within −100..100 dB, then for each range
// sub-page in order display low < high and limit low < high. The first
// failure wins.
std::optional<ValidationFailure> Validate(int modelCode, float frequencyMHz, float offsetDb,
                                          std::span<const RangeValues> rangePages);

// One range sub-tab: the quantity it edits and the key of its label.
struct RangeTab {
  Quantity quantity;
  const char* labelKey;
  friend bool operator==(const RangeTab& a, const RangeTab& b) {
    return a.quantity == b.quantity && std::string(a.labelKey) == b.labelKey;
  }
};
// Average page: AVG, PEAK and VSWR/PAR as the model's mask has them.
std::vector<RangeTab> AverageRangeTabs(int modelCode);
// Pulse page: PULSE only.
std::vector<RangeTab> PulseRangeTabs();

// Technology lists. Average and CCDF pages: "LTE" … "etc" = TECH 0..7,
// any other TECH shows "etc". Pulse page: "LTE", "WiMAX", "TDS-CDMA",
// "etc" = TECH 0, 3, 4, 7, any other TECH shows "etc".
int TechnologyListIndex(int technology);
int TechnologyFromListIndex(int index);
int PulseTechnologyListIndex(int technology);
int PulseTechnologyFromListIndex(int index);

// List index shown for a stored value: `value` when it is a valid index
// below `count`, else `fallback`.
int ListIndexOrDefault(int value, int count, int fallback);
// Average list "1" … "10": REPEAT outside 1..10 shows "1".
int RepeatListIndex(int repeat);
inline int RepeatFromListIndex(int index) { return index + 1; }
// Sampling-rate list "Low" … "Max": outside 0..3 shows "Low".
int RateListIndex(int rate);
// CCDF sample list: an unknown RATE keeps 10 sweeps, so it shows "100,000".
int CcdfRateListIndex(int rate);
// Pulse period list (5 choices): outside shows "< 4.5ms".
int PeriodListIndex(int rate);
// Decimal list "0", "1", "2": another value shows "2", the default.
int DecimalListIndex(int decimals);

// Which duty/reference controls are enabled for the two radio states.
struct DutyReferenceState {
  bool referenceManual;  // after the interlock (manual duty forces auto)
  bool dutyEditEnabled;
  bool referenceRadiosEnabled;
  bool referenceEditEnabled;
  friend bool operator==(const DutyReferenceState&, const DutyReferenceState&) = default;
};
DutyReferenceState Interlock(bool manualDuty, bool manualReference);

// Opening: manual when the stored value is not 0; the edits' texts.
inline bool IsManual(int stored) { return stored != 0; }
std::string DutyEditText(int duty);            // "%.3f" of DUTY / 1000
std::string ReferenceEditText(int reference);  // "%.2f" of REFERENCE / 100
// Apply: the edit value × 1000 (× 100) truncated when manual, else 0. A
// value typed as 1.15 is kept as 115, not lost to its binary rounding.
int DutyFromEdit(bool manual, double value);
int ReferenceFromEdit(bool manual, double value);

}  // namespace settings_page
}  // namespace wattrix
