#include "core/device/AcquisitionTable.h"
#include "core/device/SensorProtocol.h"
#include "core/vocabulary/SensorModel.h"

#include <gtest/gtest.h>

#include <string>

namespace wattrix {
namespace {

std::string Letters(const AcquisitionCommand* command) {
  return command ? std::string{command->first, command->second} : "none";
}

TEST(AcquisitionTable, EachGenerationHasItsOwnCommands) {
  using model::kPX420B;
  // The PX420B: the forward/reverse pair and the filtered peak; no single
  // average or reverse command.
  EXPECT_EQ(Letters(FindAcquisitionCommand(RequestKind::Average, kPX420B)), "none");
  EXPECT_EQ(Letters(FindAcquisitionCommand(RequestKind::Reverse, kPX420B)), "none");
  const auto* pair = FindAcquisitionCommand(RequestKind::AverageReverse, kPX420B);
  ASSERT_EQ(Letters(pair), "GE");
  EXPECT_EQ(pair->replyLength, protocol::kTwoValueLength);
  EXPECT_EQ(pair->values, 2u);
  EXPECT_EQ(pair->powers, 2u);
  const auto* peak = FindAcquisitionCommand(RequestKind::Peak, kPX420B);
  ASSERT_EQ(Letters(peak), "GP");
  EXPECT_EQ(peak->shape, ReplyShape::PeakFiltered);
  EXPECT_EQ(peak->replyLength, protocol::kElevenValueLength);

  // Every other model, and an unknown one, asks one value at a time.
  for (int code : {model::kPX420A, model::kPX430A, model::kPX450B, -1}) {
    EXPECT_EQ(Letters(FindAcquisitionCommand(RequestKind::Average, code)), "GA") << code;
    EXPECT_EQ(Letters(FindAcquisitionCommand(RequestKind::Peak, code)), "GF") << code;
    EXPECT_EQ(Letters(FindAcquisitionCommand(RequestKind::Reverse, code)), "GR") << code;
    EXPECT_EQ(Letters(FindAcquisitionCommand(RequestKind::AverageReverse, code)), "none") << code;
    EXPECT_EQ(FindAcquisitionCommand(RequestKind::Peak, code)->shape, ReplyShape::SingleValue);
    EXPECT_EQ(FindAcquisitionCommand(RequestKind::Average, code)->replyLength, protocol::kSingleLength);
  }

  // Pulse and CCDF are the same on both: five values of which only the
  // first is a power, and the gate before the block.
  for (int code : {kPX420B, model::kPX430A}) {
    const auto* pulse = FindAcquisitionCommand(RequestKind::Pulse, code);
    ASSERT_EQ(Letters(pulse), "GU");
    EXPECT_EQ(pulse->replyLength, protocol::kFiveValueLength);
    EXPECT_EQ(pulse->values, 5u);
    EXPECT_EQ(pulse->powers, 1u);
    const auto* ccdf = FindAcquisitionCommand(RequestKind::Ccdf, code);
    ASSERT_EQ(Letters(ccdf), "GC");
    EXPECT_EQ(ccdf->shape, ReplyShape::CcdfBlock);
  }
}

}  // namespace
}  // namespace wattrix
