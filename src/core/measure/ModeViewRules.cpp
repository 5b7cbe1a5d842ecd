#include "core/measure/ModeViewRules.h"

#include "core/vocabulary/Quantity.h"
#include "core/vocabulary/SensorModel.h"

#include <algorithm>
#include <array>
#include <span>

namespace wattrix::mode_view {

namespace {

using namespace model;

constexpr std::array<RequestKind, 3> kCycleAvgPeakRev{RequestKind::Average, RequestKind::Peak,
                                                      RequestKind::Reverse};
constexpr std::array<RequestKind, 2> kCycleAvgPeak{RequestKind::Average, RequestKind::Peak};
constexpr std::array<RequestKind, 2> kCycleForwardReversePeak{RequestKind::AverageReverse, RequestKind::Peak};
constexpr std::array<RequestKind, 1> kCyclePeak{RequestKind::Peak};
constexpr std::array<RequestKind, 1> kCycleAverage{RequestKind::Average};

std::span<const RequestKind> CycleOf(int modelCode) {
  switch (modelCode) {
    case kPX420A:
    case kPX440A:
      return kCycleAvgPeakRev;
    case kPX470A:
    case kPX470B:
      return kCycleAvgPeak;
    case kPX450A:
    case kPX450B:
      return kCyclePeak;
    case kPX420B:
      return kCycleForwardReversePeak;
    default:
      return kCycleAverage;  // PX430A, PX430B and unknown codes
  }
}

}  // namespace

RequestKind InitialRequestState(LiveWindowKind view, int modelCode) {
  if (view == LiveWindowKind::Pulse) return RequestKind::Pulse;
  return CycleOf(modelCode).front();
}

RequestStep NextRequest(LiveWindowKind view, int modelCode, RequestKind state) {
  if (view == LiveWindowKind::Pulse) return RequestStep{RequestKind::Pulse, RequestKind::Pulse};
  const auto cycle = CycleOf(modelCode);
  auto it = std::find(cycle.begin(), cycle.end(), state);
  if (it == cycle.end()) it = cycle.begin();
  const auto next = std::next(it) == cycle.end() ? cycle.begin() : std::next(it);
  return RequestStep{*it, *next};
}

std::optional<int> InitialSelectedPanel(LiveWindowKind view, QuantityMask quantityMask) {
  const QuantityMask first = view == LiveWindowKind::Pulse ? mask::kPulse : mask::kAvg;
  if (quantityMask & first) return 1;
  if (quantityMask & mask::kPeak) return 2;
  if (quantityMask & mask::kVswr) return 3;
  return std::nullopt;
}

bool GraphShownByDefault(LiveWindowKind view, int modelCode) {
  if (view == LiveWindowKind::Pulse) return true;
  return modelCode == kPX430A || modelCode == kPX450A || modelCode == kPX430B || modelCode == kPX450B;
}

bool PanelSelectable(LiveWindowKind view, int modelCode, int panel) {
  if (panel < 0 || panel >= kPanelCount) return false;
  const bool noPeakOrVswr = view == LiveWindowKind::Pulse ? (modelCode == kPX430A || modelCode == kPX420B ||
                                                       modelCode == kPX430B || modelCode == kPX470B)
                                                    : (modelCode == kPX430A || modelCode == kPX430B);
  const bool peakOnly = modelCode == kPX450A || modelCode == kPX450B;
  if (noPeakOrVswr && (panel == 2 || panel == 3)) return false;
  if (peakOnly && (panel == 1 || panel == 3)) return false;
  return true;
}

int PanelOfQuantity(LiveWindowKind view, Quantity quantity) {
  switch (quantity) {
    case kAvg:
      return 1;
    case kRev:
      return 0;
    case kVswr:
      return 3;
    case kPeak:
      return view == LiveWindowKind::Pulse ? 0 : 2;
    case kPulse:
      return view == LiveWindowKind::Pulse ? 1 : 0;
    default:
      return -1;
  }
}

Quantity FirstQuantity(LiveWindowKind view, int modelCode) {
  if (view == LiveWindowKind::Pulse) return kPulse;
  return modelCode == kPX450A || modelCode == kPX450B ? kPeak : kAvg;
}

QuantityMask SaveMask(LiveWindowKind view, int modelCode) {
  if (view == LiveWindowKind::Pulse) return mask::kPulse;
  switch (modelCode) {
    case kPX430A:
    case kPX430B:
      return mask::kAvg;
    case kPX450A:
    case kPX450B:
      return mask::kPeak;
    case kPX420A:
    case kPX440A:
    case kPX470A:
    case kPX420B:
    case 7:
    case kPX470B:
      return mask::kAvg | mask::kVswr | mask::kPeak;
    default:
      return mask::kAvg;  // codes above 9 (and below 0)
  }
}

bool HistoryGraphCommandEnabled(int modelCode) {
  return modelCode == kPX420A || modelCode == kPX440A || modelCode == kPX470A || modelCode == kPX420B ||
         modelCode == kPX470B;
}

}  // namespace wattrix::mode_view
