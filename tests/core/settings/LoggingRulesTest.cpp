#include "core/settings/LoggingDownload.h"
#include "core/settings/LoggingSetup.h"

#include <gtest/gtest.h>

namespace wattrix {
namespace {

using namespace logging_setup;

SetInput Input(int mask, int intervalSeconds, int runMinutes) {
  SetInput in;
  in.itemMask = QuantityMask(mask);
  in.intervalMinutes = intervalSeconds / 60;
  in.intervalSeconds = intervalSeconds % 60;
  in.runHours = runMinutes / 60;
  in.runMinutes = runMinutes % 60;
  in.frequencyMHz = 2400.7f;
  in.periodIndex = 3;
  in.reference = 650;
  in.connected = true;
  return in;
}

TEST(LoggingSetupSet, ChecksInOrderWithTheirTexts) {
  auto r = CheckSet(Input(0x03, 19, 600));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.text, "Invalid Interval Range ( 20 <= sec <= 3600 )");
  EXPECT_EQ(CheckSet(Input(0x01, 3601, 1000)).text, "Invalid Interval Range ( 10 <= sec <= 3600 )");

  r = CheckSet(Input(0x0f, 3600, 600));
  ASSERT_TRUE(r.ok) << r.text;
  EXPECT_EQ(r.configuration, (LoggingConfiguration{240000, QuantityMask{0x0f}, 3600, 10, 3, 650}));

  EXPECT_EQ(CheckSet(Input(0x01, 60, 9)).text, "Invalid Logging Count Range ( 10 times <= RunTime/Interval)");
  EXPECT_TRUE(CheckSet(Input(0x01, 60, 10)).ok);
  EXPECT_EQ(CheckSet(Input(0x01, 60, 10)).configuration.sampleCount, 10);
  EXPECT_TRUE(CheckSet(Input(0x01, 40, 5760)).ok);
  EXPECT_EQ(CheckSet(Input(0x01, 40, 5761)).text, "Invalid Runtime Range ( Max : 96 hrs )");
  EXPECT_FALSE(CheckSet(Input(0x01, 7, 150)).ok);
  EXPECT_EQ(CheckSet(Input(0, 7, 150)).configuration.sampleCount, 150 * 60 / 7);

  // An interval of 0 with no item checked is refused before the division.
  r = CheckSet(Input(0, 0, 150));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.text, "Invalid Interval Range ( 1 <= sec <= 3600 )");

  auto offline = Input(0x01, 60, 600);
  offline.connected = false;
  r = CheckSet(offline);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.text.empty());
  EXPECT_EQ(r.key, "S_MAINFRAME_ONDEVICECONNECT");
  offline.intervalMinutes = 0;  // range errors come before the connection check
  offline.intervalSeconds = 5;
  EXPECT_FALSE(CheckSet(offline).text.empty());
}

TEST(LoggingSetupPage, HintAndSplitting) {
  EXPECT_EQ(IntervalHint(QuantityMask{0}), "Sec (Min 10 Sec)");
  EXPECT_EQ(IntervalHint(QuantityMask{0x05}), "Sec (Min 20 Sec)");
  EXPECT_EQ(IntervalHint(QuantityMask{0x0f}), "Sec (Min 40 Sec)");
  EXPECT_EQ(IntervalHint(QuantityMask{0x30}), "Sec (Min 10 Sec)");  // bits beyond the four items do not count
  EXPECT_EQ(SplitInterval(40), (MinutesSeconds{0, 40}));
  EXPECT_EQ(SplitInterval(3600), (MinutesSeconds{60, 0}));
  EXPECT_EQ(JoinInterval(2, 5), 125);
  EXPECT_EQ(SplitRunTime(150), (HoursMinutes{2, 30}));
  EXPECT_EQ(JoinRunTime(96, 0), 5760);
}

TEST(LoggingDownloadRules, BlocksTimeoutsAndDialog) {
  using namespace logging_download;
  EXPECT_EQ(BlockCount(250), 2);
  EXPECT_EQ(BlockCount(251), 2);
  EXPECT_EQ(BlockCount(600), 3);
  EXPECT_EQ(BlockCount(249), 1);
  EXPECT_EQ(ByteCount(BlockCount(250)), 1024);

  EXPECT_EQ(TimeoutMs(1024, false), 1000);
  EXPECT_EQ(TimeoutMs(1 << 20, false), 1000);
  // Serial: 1000 ms plus the time on the wire at 960 bytes/s, half as much again.
  EXPECT_EQ(TimeoutMs(1024, true), 1000 + 1600);
  EXPECT_EQ(TimeoutMs(512 * 401, true), 1000 + 320800);
  EXPECT_GT(TimeoutMs(512 * 401, true), 512 * 401 * 1000 / 960);

  EXPECT_TRUE(PlanFetch(0, true).nothingLogged);
  const auto plan = PlanFetch(600, true);
  EXPECT_FALSE(plan.nothingLogged);
  EXPECT_EQ(plan.blocks, 3);
  EXPECT_EQ(plan.bytes, 1536);
  EXPECT_EQ(plan.timeoutMs, TimeoutMs(1536, true));
  EXPECT_EQ(plan.values, 600);
  const auto huge = PlanFetch(2147483647, false);  // a garbage count cannot overflow the byte count
  EXPECT_GT(huge.bytes, 0);
  EXPECT_EQ(huge.bytes % 512, 0);

  auto state = DialogStateFor(QuantityMask{0x05}, false, 100);
  EXPECT_EQ(state.itemChecked, (std::array<bool, 4>{true, false, true, false}));
  EXPECT_TRUE(state.loadEnabled);
  EXPECT_TRUE(state.saveEnabled);
  state = DialogStateFor(QuantityMask{0x0f}, true, 100);  // still logging
  EXPECT_FALSE(state.loadEnabled);
  EXPECT_FALSE(state.saveEnabled);
  state = DialogStateFor(QuantityMask{0x0f}, false, 0);  // nothing stored
  EXPECT_FALSE(state.loadEnabled);
  EXPECT_FALSE(state.saveEnabled);
}

}  // namespace
}  // namespace wattrix
