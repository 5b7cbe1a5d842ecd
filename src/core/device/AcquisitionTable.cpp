#include "core/device/AcquisitionTable.h"

#include "core/device/SensorProtocol.h"
#include "core/vocabulary/SensorModel.h"

#include <array>

namespace wattrix {

namespace {

using protocol::kElevenValueLength;
using protocol::kFiveValueLength;
using protocol::kSingleLength;
using protocol::kTwoValueLength;

// The first generation answers average, peak and reverse one value at a
// time; the PX420B answers forward and reverse together and peaks filtered
// from eleven samples. Pulse and CCDF are the same on both.
constexpr std::array<AcquisitionCommand, 9> kTable{{
    {RequestKind::Average, false, 'G', 'A', kSingleLength, 1, ReplyShape::SingleValue, 1},
    {RequestKind::Peak, false, 'G', 'F', kSingleLength, 1, ReplyShape::SingleValue, 1},
    {RequestKind::Reverse, false, 'G', 'R', kSingleLength, 1, ReplyShape::SingleValue, 1},
    {RequestKind::AverageReverse, true, 'G', 'E', kTwoValueLength, 2, ReplyShape::ValueFrame, 2},
    {RequestKind::Peak, true, 'G', 'P', kElevenValueLength, 11, ReplyShape::PeakFiltered, 1},
    // Only the first pulse value is a power; the others are counts.
    {RequestKind::Pulse, false, 'G', 'U', kFiveValueLength, 1, ReplyShape::ValueFrame, 5},
    {RequestKind::Pulse, true, 'G', 'U', kFiveValueLength, 1, ReplyShape::ValueFrame, 5},
    {RequestKind::Ccdf, false, 'G', 'C', 0, 0, ReplyShape::CcdfBlock, 0},
    {RequestKind::Ccdf, true, 'G', 'C', 0, 0, ReplyShape::CcdfBlock, 0},
}};

}  // namespace

const AcquisitionCommand* FindAcquisitionCommand(RequestKind kind, int modelCode) {
  const bool secondGeneration = modelCode == model::kPX420B;
  for (const AcquisitionCommand& row : kTable) {
    if (row.kind == kind && row.secondGeneration == secondGeneration) return &row;
  }
  return nullptr;
}

}  // namespace wattrix
