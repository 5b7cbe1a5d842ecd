#include "core/settings/SettingsPageRules.h"

#include "core/vocabulary/SensorModel.h"
#include "core/vocabulary/Quantity.h"
#include "core/platform/NumberText.h"

#include <cmath>

namespace wattrix::settings_page {

namespace {

constexpr int kTechnologyCount = 8;
constexpr int kTechnologyEtc = 7;
constexpr int kPulseTechnologies[] = {0, 3, 4, 7};

// Edit values are decimal texts: a value that is an exact number of units
// but lies just below it in binary (1.15 × 100 = 114.999…) keeps its unit.
int TruncatedUnits(double value, double unitsPerValue) {
  const double scaled = value * unitsPerValue;
  if (!std::isfinite(scaled)) return 0;
  const double nudged = scaled + std::copysign(1e-4, scaled);
  const double clamped = std::fmax(std::fmin(std::trunc(nudged), 2147483647.0), -2147483648.0);
  return static_cast<int>(clamped);
}

}  // namespace

std::optional<ValidationFailure> Validate(int modelCode, float frequencyMHz, float offsetDb,
                                          std::span<const RangeValues> rangePages) {
  if (const auto* row = FindModelByCode(modelCode)) {
    if (!(frequencyMHz >= static_cast<float>(row->lowestMHz) &&
          frequencyMHz <= static_cast<float>(row->highestMHz))) {
      return ValidationFailure{Field::Frequency, "S_IDD_SETTING_ONOK_IFREQ"};
    }
  }
  if (!(offsetDb >= -100.0f && offsetDb <= 100.0f)) {
    return ValidationFailure{Field::Offset, "S_IDD_SETTING_INVAL_OFFSET"};
  }
  for (std::size_t i = 0; i < rangePages.size(); ++i) {
    const auto& page = rangePages[i];
    if (page.displayLow >= page.displayHigh) {
      return ValidationFailure{Field::DisplayRange, "S_IDD_SETTING_ONOK_IDRNG", static_cast<int>(i)};
    }
    if (page.limitLow >= page.limitHigh) {
      return ValidationFailure{Field::LimitRange, "S_IDD_SETTING_ONOK_ILRNG", static_cast<int>(i)};
    }
  }
  return std::nullopt;
}

std::vector<RangeTab> AverageRangeTabs(int modelCode) {
  std::vector<RangeTab> tabs;
  const auto* row = FindModelByCode(modelCode);
  const QuantityMask quantities = row ? row->quantityMask : QuantityMask();
  if (quantities & mask::kAvg) tabs.push_back({kAvg, "S_MEASUREVIEW_AVG"});
  if (quantities & mask::kPeak) tabs.push_back({kPeak, "S_MEASUREVIEW_PEAK"});
  if (quantities & mask::kVswr) {
    tabs.push_back({kVswr, CarriesPar(modelCode) ? "S_MEASUREVIEW_PAR" : "S_MEASUREVIEW_VSWR"});
  }
  return tabs;
}

std::vector<RangeTab> PulseRangeTabs() { return {RangeTab{kPulse, "S_MEASUREVIEW_PULSE"}}; }

int TechnologyListIndex(int technology) {
  return ListIndexOrDefault(technology, kTechnologyCount, kTechnologyEtc);
}

int TechnologyFromListIndex(int index) { return ListIndexOrDefault(index, kTechnologyCount, kTechnologyEtc); }

int PulseTechnologyListIndex(int technology) {
  for (int i = 0; i < 4; ++i) {
    if (kPulseTechnologies[i] == technology) return i;
  }
  return 3;  // "etc"
}

int PulseTechnologyFromListIndex(int index) { return kPulseTechnologies[ListIndexOrDefault(index, 4, 3)]; }

int ListIndexOrDefault(int value, int count, int fallback) {
  return value >= 0 && value < count ? value : fallback;
}

int RepeatListIndex(int repeat) { return ListIndexOrDefault(repeat - 1, 10, 0); }

int RateListIndex(int rate) { return ListIndexOrDefault(rate, 4, 0); }

int CcdfRateListIndex(int rate) { return ListIndexOrDefault(rate, 4, 0); }

int PeriodListIndex(int rate) { return ListIndexOrDefault(rate, 5, 0); }

int DecimalListIndex(int decimals) { return ListIndexOrDefault(decimals, 3, 2); }

DutyReferenceState Interlock(bool manualDuty, bool manualReference) {
  if (manualDuty) return DutyReferenceState{false, true, false, false};
  return DutyReferenceState{manualReference, false, true, manualReference};
}

std::string DutyEditText(int duty) { return FormatC("%.3f", duty / 1000.0); }

std::string ReferenceEditText(int reference) { return FormatC("%.2f", reference / 100.0); }

int DutyFromEdit(bool manual, double value) { return manual ? TruncatedUnits(value, 1000.0) : 0; }

int ReferenceFromEdit(bool manual, double value) { return manual ? TruncatedUnits(value, 100.0) : 0; }

}  // namespace wattrix::settings_page
