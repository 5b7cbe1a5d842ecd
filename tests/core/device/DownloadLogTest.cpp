#include "core/device/LinkFixture.h"
#include "core/device/LogBlockDecoder.h"
#include "core/device/LogTransfer.h"
#include "core/settings/LogValueStore.h"
#include "core/vocabulary/Quantity.h"

#include <gtest/gtest.h>

#include <thread>

namespace wattrix {
namespace {

using test::Bytes;
using test::FrameParameter;
using test::LinkRig;

// A PX420B that has logged `values` with `mask`.
struct Logged : LinkRig {
  Logged(int mask, std::vector<std::uint16_t> values) {
    sensor.loggingStatus = {mask, 0, 0, 0, 0, 0, static_cast<std::int32_t>(values.size()), 0, 0, 0, 0};
    sensor.logValues = std::move(values);
    EXPECT_EQ(link.Connect(1), 0);
    EXPECT_TRUE(link.ReadLoggingStatus());
    Wire().ClearLog();
  }
  // The unwatched fetch as the command-line tool makes it: the histories
  // are emptied, then filled with what the transfer returned.
  bool Fetch(int timeoutMs = 1000) {
    const int n = link.LoggingStatus(6);
    const int blocks = protocol::LogBlockCount(n);
    settings.ResetHistories();
    stored = 0;
    std::vector<std::uint16_t> values;
    if (link.ReadLog(timeoutMs, blocks * 512, blocks, n, values, nullptr) != LogReadResult::kDone)
      return false;
    stored = logging_download::StoreLogValues(settings, QuantityMask(link.LoggingStatus(0)), values);
    return true;
  }
  int stored = 0;
  std::vector<float> Readings(Quantity q) {
    int count = 0;
    const float* data = settings.GetReadings(q, count);
    return std::vector<float>(data, data + count);
  }
};

std::vector<std::uint16_t> Ramp(int n, int start = 1) {
  std::vector<std::uint16_t> out(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) out[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(start + i);
  return out;
}

TEST(DownloadLog, TakesExactlyTheStoredCountFromTheFirstBlocks) {
  {
    Logged rig(0x01, Ramp(250));
    // Something in the histories from an earlier measurement goes first.
    rig.settings.AddReading(kAvg, 99.0f);
    // The sensor fills block 0's 251st position too; it must not be used.
    rig.sensor.logValues.push_back(7777);
    ASSERT_TRUE(rig.Fetch());
    ASSERT_EQ(rig.Wire().Writes().size(), 1u);
    EXPECT_EQ(test::FrameCommand(rig.Wire().Writes()[0]), "AD");
    EXPECT_EQ(FrameParameter(rig.Wire().Writes()[0]), 2);
    EXPECT_EQ(rig.Wire().Reads()[0].count, 1024u);
    EXPECT_EQ(rig.Wire().Reads()[0].timeoutMs, 1000);
    const auto avg = rig.Readings(kAvg);
    ASSERT_EQ(avg.size(), 250u);
    EXPECT_FLOAT_EQ(avg.front(), 0.01f);
    EXPECT_FLOAT_EQ(avg.back(), 2.50f);
    EXPECT_EQ(rig.stored, 250);
  }
  {
    Logged rig(0x01, Ramp(251));
    rig.sensor.logValues.push_back(7777);  // would be block 1's first value
    ASSERT_TRUE(rig.Fetch());
    const auto avg = rig.Readings(kAvg);
    ASSERT_EQ(avg.size(), 251u);
    EXPECT_FLOAT_EQ(avg.back(), 2.51f);
  }
}

TEST(DownloadLog, ValuesRotateThroughTheLoggedItems) {
  Logged rig(0x03, Ramp(600, 4000));
  rig.sensor.logValues[0] = 4250;
  ASSERT_TRUE(rig.Fetch());
  EXPECT_EQ(FrameParameter(rig.Wire().Writes()[0]), 3);
  const auto avg = rig.Readings(kAvg);
  const auto peak = rig.Readings(kPeak);
  ASSERT_EQ(avg.size(), 300u);
  ASSERT_EQ(peak.size(), 300u);
  EXPECT_FLOAT_EQ(avg[0], 42.5f);
  EXPECT_FLOAT_EQ(peak[0], 40.01f);
  // Value 251 (index 251, the first of block 1) is a PEAK value: 4251.
  EXPECT_FLOAT_EQ(peak[125], 42.51f);
  EXPECT_FLOAT_EQ(peak.back(), 45.99f);
  EXPECT_TRUE(rig.Readings(kRev).empty());

  Logged four(0x0F, Ramp(8));
  ASSERT_TRUE(four.Fetch());
  EXPECT_EQ(four.Readings(kAvg), (std::vector<float>{0.01f, 0.05f}));
  EXPECT_EQ(four.Readings(kPeak), (std::vector<float>{0.02f, 0.06f}));
  EXPECT_EQ(four.Readings(kRev), (std::vector<float>{0.03f, 0.07f}));
  EXPECT_EQ(four.Readings(kPulse), (std::vector<float>{0.04f, 0.08f}));
}

TEST(DownloadLog, FailuresAndEmptyMasks) {
  {
    Logged rig(0x01, Ramp(10));
    rig.sensor.SetOverride("AD", [](const Bytes&) {
      auto reply = test::LogReply(1, Ramp(10));
      reply[1] = 'X';
      return test::ScriptedSensor::Answer{reply};
    });
    rig.settings.AddReading(kAvg, 1.0f);
    EXPECT_FALSE(rig.Fetch());
    EXPECT_EQ(rig.settings.Count(kAvg), 0);  // emptied before the transfer
  }
  {
    Logged rig(0x01, Ramp(10));
    rig.Wire().SetTimeScale(0.01);
    rig.sensor.SetOverride("AD", [](const Bytes&) { return std::nullopt; });
    EXPECT_FALSE(rig.Fetch());
  }
  {
    Logged rig(0x00, Ramp(10));
    EXPECT_TRUE(rig.Fetch());
    for (const Quantity q : HistoryQuantities()) EXPECT_EQ(rig.settings.Count(q), 0);
  }
}

TEST(DownloadLog, ALogLongerThanTheReceiveBufferArrivesWhole) {
  // 601 blocks are more than the 262,144-byte buffer holds.
  const int n = 150000;
  std::vector<std::uint16_t> values(n);
  for (int i = 0; i < n; ++i) values[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i % 5000);
  Logged rig(0x03, values);
  ASSERT_TRUE(rig.Fetch(60000));
  const auto reads = rig.Wire().Reads();
  ASSERT_EQ(reads.size(), 2u);
  EXPECT_EQ(reads[0].count + reads[1].count, 601u * 512u);
  const auto avg = rig.Readings(kAvg);
  const auto peak = rig.Readings(kPeak);
  ASSERT_EQ(avg.size(), 75000u);
  ASSERT_EQ(peak.size(), 75000u);
  for (int i = 0; i < n; i += 997) {
    const auto& list = i % 2 == 0 ? avg : peak;
    ASSERT_FLOAT_EQ(list[static_cast<std::size_t>(i / 2)], static_cast<float>(i % 5000) / 100.0f) << i;
  }
}

TEST(ReadLog, ABlockAtATimeWithProgressAndNothingStored) {
  Logged rig(0x05, Ramp(1000));
  rig.settings.AddReading(kAvg, 99.0f);  // a run the transfer must not touch
  LogTransferControl control;
  std::vector<std::uint16_t> values{7};
  const int blocks = protocol::LogBlockCount(1000);
  ASSERT_EQ(rig.link.ReadLog(4000, blocks * 512, blocks, 1000, values, &control), LogReadResult::kDone);
  EXPECT_EQ(values, Ramp(1000));
  EXPECT_EQ(control.Total(), 5u * 512u);
  EXPECT_EQ(control.Received(), 5u * 512u);
  const auto reads = rig.Wire().Reads();
  ASSERT_EQ(reads.size(), 5u);
  EXPECT_EQ(reads[0].timeoutMs, 4000);
  for (const auto& read : reads) EXPECT_EQ(read.count, 512u);
  EXPECT_EQ(rig.settings.Count(kAvg), 1);

  // Stored later by the settings' owner, in the items' rotation.
  EXPECT_EQ(logging_download::StoreLogValues(rig.settings, QuantityMask{0x05}, values), 1000);
  EXPECT_EQ(rig.Readings(kAvg).size(), 501u);
  EXPECT_FLOAT_EQ(rig.Readings(kAvg)[1], 0.01f);
  EXPECT_FLOAT_EQ(rig.Readings(kRev).back(), 10.0f);
  EXPECT_EQ(logging_download::StoreLogValues(rig.settings, QuantityMask{}, values), 0);

  // A reply that is not a log leaves no values behind.
  rig.sensor.SetOverride("AD", [](const Bytes&) {
    auto reply = test::LogReply(5, Ramp(1000));
    reply[0] = 'X';
    return test::ScriptedSensor::Answer{reply};
  });
  EXPECT_EQ(rig.link.ReadLog(4000, blocks * 512, blocks, 1000, values, nullptr), LogReadResult::kFailed);
  EXPECT_TRUE(values.empty());
}

TEST(ReadLog, ACancelEndsTheWaitAndTheRestIsWaitedOutBeforeTheNextCommand) {
  Logged rig(0x01, Ramp(600));
  rig.sensor.SetOverride("AD", [](const Bytes&) { return std::nullopt; });  // still preparing
  LogTransferControl control;
  std::vector<std::uint16_t> values{1, 2};
  LogReadResult result = LogReadResult::kDone;
  std::thread transfer([&] { result = rig.link.ReadLog(600000, 3 * 512, 3, 600, values, &control); });
  ASSERT_TRUE(rig.Wire().WaitForWaitingRead(5000));
  control.Cancel();
  transfer.join();
  EXPECT_EQ(result, LogReadResult::kCancelled);
  EXPECT_TRUE(values.empty());
  EXPECT_GE(rig.Wire().CancelCount(), 1);

  // The log the sensor still sends arrives in pieces; the next command
  // waits until the line is quiet and then gets its own answer.
  const auto tail = test::LogReply(3, Ramp(600));
  rig.Wire().Push(Bytes(tail.begin(), tail.begin() + 700), 50);
  rig.Wire().Push(Bytes(tail.begin() + 700, tail.end()), 150);
  ASSERT_TRUE(rig.link.ReadLoggingStatus());
  EXPECT_EQ(rig.link.LoggingStatus(6), 600);

  // Cancelled before it began: nothing is sent.
  rig.Wire().ClearLog();
  EXPECT_EQ(rig.link.ReadLog(1000, 3 * 512, 3, 600, values, &control), LogReadResult::kCancelled);
  EXPECT_TRUE(rig.Wire().Writes().empty());
  // Once a transfer has ended, a cancel no longer reaches the transport.
  const int cancels = rig.Wire().CancelCount();
  control.Cancel();
  EXPECT_EQ(rig.Wire().CancelCount(), cancels);
}

}  // namespace
}  // namespace wattrix
