#include "core/vocabulary/SensorModel.h"

namespace wattrix {

namespace {

using R = SensorModel::Range;

constexpr R kHigh{20, 60};
constexpr R kLow{-30, 20};
constexpr R kVswr{1, 2};
constexpr R kPar{0, 20};

// Quantities a model delivers.
constexpr QuantityMask kAll = mask::kAvg | mask::kPeak | mask::kRev | mask::kPulse | mask::kVswr;
constexpr QuantityMask kAvgOnly = mask::kAvg;
constexpr QuantityMask kPeakOnly = mask::kPeak;

constexpr std::array<SensorModel, 9> kModels{{
    {model::kPX420A, "PX420A", 4, 0, kAll, 300, 3800, {kHigh, kHigh, kVswr, kHigh, kHigh, kHigh}, 0},
    {model::kPX430A, "PX430A", 5, 1, kAvgOnly, 20, 3800, {kLow, kLow, kVswr, kHigh, kHigh, kHigh}, 0},
    {model::kPX440A, "PX440A", 6, 0, kAll, 150, 3800, {kHigh, kHigh, kVswr, kHigh, kHigh, kHigh}, 0},
    {model::kPX450A, "PX450A", 7, 1, kPeakOnly, 20, 3800, {kLow, kLow, kVswr, kLow, kLow, kLow}, 0},
    {model::kPX470A, "PX470A", 8, 1, kAll, 20, 3800, {kLow, kLow, kPar, kLow, kLow, kLow}, 0},
    {model::kPX420B, "PX420B", 10, 0, kAll, 300, 3800, {kHigh, kHigh, kVswr, kHigh, kHigh, kHigh}, 0},
    {model::kPX430B, "PX430B", 11, 1, kAvgOnly, 20, 3800, {kLow, kLow, kVswr, kLow, kLow, kLow}, 0},
    {model::kPX450B, "PX450B", 13, 1, kPeakOnly, 20, 3800, {kLow, kLow, kVswr, kLow, kLow, kLow}, 0},
    {model::kPX470B, "PX470B", 14, 1, kAll, 20, 3800, {kLow, kLow, kPar, kLow, kLow, kLow}, 0},
}};

}  // namespace

std::span<const SensorModel> SensorModels() { return kModels; }

const SensorModel* FindModelByCode(int modelCode) {
  for (const auto& row : kModels) {
    if (row.modelCode == modelCode) return &row;
  }
  return nullptr;
}

const SensorModel* FindModelByDeviceCode(int deviceCode) {
  for (const auto& row : kModels) {
    if (row.deviceCode == deviceCode) return &row;
  }
  return nullptr;
}

int ModelCodeByName(const std::string& name) {
  for (const auto& row : kModels) {
    if (name == row.name) return row.modelCode;
  }
  return 0;
}

std::string ModelNameByCode(int modelCode) {
  const auto* row = FindModelByCode(modelCode);
  return row ? std::string(row->name) : std::string();
}

bool ModelOffers(int modelCode, ModeCommand command) {
  using namespace model;
  switch (command) {
    case ModeCommand::Avg: return modelCode == kPX430A || modelCode == kPX430B;
    case ModeCommand::Peak: return modelCode == kPX450A || modelCode == kPX450B;
    case ModeCommand::AvgPeak:
      return modelCode == kPX420A || modelCode == kPX440A || modelCode == kPX470A || modelCode == kPX420B ||
             modelCode == kPX470B;
    case ModeCommand::Pulse:
    case ModeCommand::Ccdf: return modelCode == kPX420B || modelCode == kPX470B;
    case ModeCommand::DownloadLog: return modelCode == kPX420B;
  }
  return false;
}

}  // namespace wattrix
