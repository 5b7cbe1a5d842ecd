#include "core/device/CcdfBlockDecoder.h"
#include "core/device/LogBlockDecoder.h"
#include "core/device/PeakFilter.h"
#include "core/device/ReplyParser.h"
#include "core/device/ScriptedSensor.h"
#include "core/device/SensorProtocol.h"
#include "core/vocabulary/Quantity.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace wattrix {
namespace {

using namespace protocol;
using test::Bytes;

SingleReply Parse(const Bytes& bytes) { return ParseSingleReply(bytes.data(), bytes.size()); }

TEST(ReplyParser, SingleValueRepliesNeedTheirTagAndClosingAtFixedPlaces) {
  EXPECT_EQ(Parse(test::SingleReply('P', -1234)).kind, ReplyKind::Measurement);
  EXPECT_EQ(Parse(test::SingleReply('P', -1234)).value, -1234);
  EXPECT_EQ(Parse(test::SingleReply('W', 77)).kind, ReplyKind::Measurement);
  EXPECT_EQ(Parse(test::SingleReply('V', 291)).kind, ReplyKind::FirmwareVersion);
  EXPECT_EQ(Parse(test::SingleReply('S', 123456)).kind, ReplyKind::SerialNumber);
  EXPECT_EQ(Parse(test::SingleReply('D', 10)).kind, ReplyKind::DeviceCode);

  Bytes badClose = test::SingleReply('P', 5);
  badClose[7] = ')';
  EXPECT_EQ(Parse(badClose).kind, ReplyKind::None);
  Bytes noCr = test::SingleReply('P', 5);
  noCr[8] = '\n';
  EXPECT_EQ(Parse(noCr).kind, ReplyKind::None);
  Bytes noComma = test::SingleReply('P', 5);
  noComma[2] = ';';
  EXPECT_EQ(Parse(noComma).kind, ReplyKind::None);
  EXPECT_EQ(Parse(test::SingleReply('X', 5)).kind, ReplyKind::None);

  // Garbage before the bracket is skipped, but the reply must still be whole.
  Bytes shifted = test::SingleReply('P', 42);
  shifted.insert(shifted.begin(), {'x', 'y'});
  EXPECT_EQ(Parse(shifted).value, 42);
  Bytes cut = test::SingleReply('P', 42);
  cut[0] = 'x';
  EXPECT_EQ(Parse(cut).kind, ReplyKind::None);
  EXPECT_EQ(Parse(Bytes(9, 'z')).kind, ReplyKind::None);
  EXPECT_EQ(ParseSingleReply(nullptr, 0).kind, ReplyKind::None);
  const Bytes huge(kOverrunCount, '[');
  EXPECT_EQ(Parse(huge).kind, ReplyKind::None);
}

TEST(ReplyParser, AcknowledgeNeedsItsClosingAndFiveBytes) {
  EXPECT_EQ(Parse(test::AckReply()).kind, ReplyKind::Acknowledge);
  EXPECT_EQ(Parse(test::AckReply()).value, 0);
  Bytes bad = test::AckReply();
  bad[4] = 0;
  EXPECT_EQ(Parse(bad).kind, ReplyKind::None);
  EXPECT_EQ(Parse(Bytes{'[', 'T', ',', ']'}).kind, ReplyKind::None);
  // A measurement reply read where an acknowledge was due is not one.
  const Bytes measurement = test::SingleReply('P', 1);
  const Bytes first5(measurement.begin(), measurement.begin() + 5);
  EXPECT_EQ(Parse(first5).kind, ReplyKind::None);
}

TEST(ReplyParser, ValueFramesCheckTagLengthAndClosing) {
  std::int32_t values[11] = {};
  auto check = [&](const Bytes& b, char tag, std::size_t length) {
    return ParseValueFrame(b.data(), b.size(), tag, length, values);
  };
  EXPECT_EQ(check(test::ValueReply('P', {-5, 7}), 'P', kTwoValueLength), FrameCheck::kOk);
  EXPECT_EQ(values[0], -5);
  EXPECT_EQ(values[1], 7);
  EXPECT_EQ(check(test::ValueReply('P', {1, 2, 3, 4, 16}), 'P', kFiveValueLength), FrameCheck::kOk);
  EXPECT_EQ(values[4], 16);
  EXPECT_EQ(check(test::ValueReply('G', {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), 'G', kElevenValueLength),
            FrameCheck::kOk);
  EXPECT_EQ(values[10], 10);

  EXPECT_EQ(check(test::ValueReply('V', {1, 2}), 'P', kTwoValueLength), FrameCheck::kShortOrUntagged);
  EXPECT_EQ(check(test::ValueReply('P', {1}), 'P', kTwoValueLength), FrameCheck::kShortOrUntagged);
  Bytes badClose = test::ValueReply('G', {9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  badClose[57] = 'x';
  values[0] = 0;
  EXPECT_EQ(check(badClose, 'G', kElevenValueLength), FrameCheck::kBadClose);
  EXPECT_EQ(values[0], 9);  // still taken: the logging status keeps them
}

TEST(SensorProtocol, FramesCarryTheParameterLittleEndian) {
  const auto frame = MakeFrame('G', 'A', -2);
  EXPECT_EQ(Bytes(frame.begin(), frame.end()), (Bytes{'[', 'G', 'A', 0xFE, 0xFF, 0xFF, 0xFF, ']'}));
  const auto gk = MakeShortFrame('G', 'K');
  EXPECT_EQ(Bytes(gk.begin(), gk.end()), (Bytes{'[', 'G', 'K', ']'}));
  EXPECT_EQ(ReadInt32(MakeFrame('A', 'D', 0x01020304).data() + 3), 0x01020304);
}

TEST(SensorProtocol, CodesClampsAndScaling) {
  const int tech[] = {6, 2, 1, 5, 4, 7, 3, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(TechnologyCode(i), tech[i]) << i;
  EXPECT_EQ(TechnologyCode(-1), 0);
  EXPECT_EQ(TechnologyCode(99), 0);
  const int avg[] = {1, 2, 4, 8, 16, 16};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(AveragingCode(i), avg[i]) << i;
  EXPECT_EQ(AveragingCode(-3), 16);

  EXPECT_EQ(PulseReferenceParameter(-700), 700);
  EXPECT_EQ(PulseReferenceParameter(0), 600);
  EXPECT_EQ(PulseReferenceParameter(5000), 1000);
  EXPECT_EQ(PulseReferenceParameter(100), 400);
  EXPECT_EQ(PulseReferenceParameter(-400), 400);
  EXPECT_EQ(PulseReferenceParameter(INT_MIN), 1000);

  EXPECT_EQ(Times100(900.57f), 90057);
  EXPECT_EQ(WholeMHzTimes100(900.57f), 90000);
  EXPECT_EQ(WholeMHzFromFrequency100(Times100(900.57f)), 90000);
  EXPECT_EQ(Times100(-1.5f), -150);
  EXPECT_EQ(Times100(-0.019f), -1);  // toward zero
  EXPECT_EQ(Times100(std::nanf("")), 0);
  EXPECT_EQ(Times100(1e30), INT_MAX);

  EXPECT_EQ(CcdfBlockLength(290), 6144u);
  EXPECT_EQ(CcdfBlockLength(291), 7680u);
  EXPECT_EQ(CcdfBlockLength(294), 7680u);
  EXPECT_EQ(CcdfBlockLength(295), 1536u);
  EXPECT_EQ(CcdfTimeoutMs(290), 50000);
  EXPECT_EQ(CcdfTimeoutMs(294), 50000);
  EXPECT_EQ(CcdfTimeoutMs(295), 10000);

  EXPECT_EQ(VersionText(291), "2.91");
  EXPECT_EQ(VersionText(1234), "12.34");
  EXPECT_EQ(VersionText(5), "5");
}

TEST(PeakFilter, DropsTheLargestAndCarriesTheNextTwo) {
  PeakCarry carry{250, 300};
  PeakValues all100;
  all100.fill(100);
  EXPECT_EQ(ApplyPeakFilter(all100, carry), 250);
  EXPECT_EQ(carry, (PeakCarry{250, 100}));

  carry = kInitialPeakCarry;
  PeakValues low;
  low.fill(-500);
  EXPECT_EQ(ApplyPeakFilter(low, carry), -1);
  EXPECT_EQ(carry, (PeakCarry{-1, -500}));

  // The first value takes part like the others; a lone spike is dropped.
  carry = kInitialPeakCarry;
  PeakValues spike{9000, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
  EXPECT_EQ(ApplyPeakFilter(spike, carry), 100);
  EXPECT_EQ(carry, (PeakCarry{100, 90}));
}

TEST(CcdfBlockDecoder, KeysAndExtentByBlockSize) {
  CcdfHistogram h;
  h[1] = 1;
  EXPECT_TRUE(DecodeCcdfBlock(test::CcdfBlock(6144, {}).data(), 6144, 0, h));
  EXPECT_TRUE(h.empty());

  // Small block: keys from the offset in steps of 10; zero counts use a key.
  const auto small = test::CcdfBlock(1536, {3, 4, 0, 6});
  EXPECT_TRUE(DecodeCcdfBlock(small.data(), small.size(), -150, h));
  EXPECT_EQ(h, (CcdfHistogram{{-150, 3}, {-140, 4}, {-120, 6}}));

  // Only the 587 counts before byte 1198 are used.
  std::vector<std::uint16_t> counts(600, 1);
  auto full = test::CcdfBlock(1536, counts);
  full[1198] = 0xFF;
  EXPECT_TRUE(DecodeCcdfBlock(full.data(), full.size(), 0, h));
  EXPECT_EQ(h.size(), 587u);
  EXPECT_EQ(h.rbegin()->first, 5860);

  // Large block: 3744 counts ending at byte 7655; the tail is not counts.
  counts.assign(3744, 2);
  auto large = test::CcdfBlock(7680, counts);
  for (std::size_t i = 7656; i < 7680; ++i) large[i] = 0xAB;
  large[502] = 0xCD;  // the 10 bytes after the first section's counts
  EXPECT_TRUE(DecodeCcdfBlock(large.data(), large.size(), 999, h));
  EXPECT_EQ(h.size(), 3744u);
  EXPECT_EQ(h.begin()->first, 2176);
  EXPECT_EQ(h.rbegin()->first, 2176 + 3743);
  for (const auto& [key, count] : h) ASSERT_EQ(count, 2) << key;

  const auto medium = test::CcdfBlock(6144, std::vector<std::uint16_t>(3000, 65535));
  EXPECT_TRUE(DecodeCcdfBlock(medium.data(), medium.size(), 0, h));
  EXPECT_EQ(h.size(), 3000u);
  EXPECT_EQ(h.rbegin()->second, 65535);

  auto untagged = test::CcdfBlock(6144, {1});
  untagged[1] = 'D';
  EXPECT_FALSE(DecodeCcdfBlock(untagged.data(), untagged.size(), 0, h));
  EXPECT_TRUE(h.empty());
  EXPECT_FALSE(DecodeCcdfBlock(medium.data(), 6000, 0, h));
  // A key run that would leave the 32-bit range stops instead of wrapping.
  EXPECT_TRUE(DecodeCcdfBlock(full.data(), full.size(), INT_MAX - 25, h));
  EXPECT_EQ(h.size(), 3u);
}

TEST(LogBlockDecoder, RotationOrderAndValuePositions) {
  auto rotation = BuildLogRotation(QuantityMask{0x0F});
  ASSERT_EQ(rotation.size, 4);
  EXPECT_EQ(rotation.quantities, (std::array<Quantity, 4>{kAvg, kPeak, kRev, kPulse}));
  rotation = BuildLogRotation(QuantityMask{0x05});
  ASSERT_EQ(rotation.size, 2);
  EXPECT_EQ(rotation.quantities[0], kAvg);
  EXPECT_EQ(rotation.quantities[1], kRev);
  EXPECT_EQ(BuildLogRotation(QuantityMask{0x10}).size, 0);  // VSWR is never logged
  EXPECT_EQ(LogBlockCount(250), 2);
  EXPECT_EQ(LogBlockCount(249), 1);

  std::vector<std::uint16_t> values(751);
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<std::uint16_t>(i + 1);
  const auto reply = test::LogReply(3, values);
  ASSERT_TRUE(IsLogBlock(reply.data(), reply.size()));
  std::vector<std::uint16_t> seen;
  EXPECT_EQ(
      ForEachLogValue(reply.data(), reply.size(), 0, 10000, [&](std::uint16_t v) { seen.push_back(v); }),
      751);
  EXPECT_EQ(seen, values);

  // A later piece of the reply starts with a block of 250 values at byte 0.
  seen.clear();
  EXPECT_EQ(ForEachLogValue(reply.data() + 512, 1024, 1, 300, [&](std::uint16_t v) { seen.push_back(v); }),
            300);
  EXPECT_EQ(seen.front(), 252);
  EXPECT_EQ(seen.back(), 551);
  // A cut reply yields only the whole values it holds.
  EXPECT_EQ(ForEachLogValue(reply.data(), 7, 0, 100, [](std::uint16_t) {}), 2);
}

}  // namespace
}  // namespace wattrix
