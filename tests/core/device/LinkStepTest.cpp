// The link keeps in step with the sensor: late replies, stray bytes and
// values no sensor sends never become readings, and a line that goes away
// stops the asking until the sensor is connected again.
#include "core/device/LinkFixture.h"
#include "core/device/ReadingPlausibility.h"
#include "core/device/RecordingSink.h"
#include "core/device/SensorProtocol.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace wattrix {
namespace {

using test::Bytes;
using test::FrameParameter;
using test::LinkRig;
using test::RecordingSink;
using test::ScriptedSensor;
using Strings = std::vector<std::string>;

struct Connected : LinkRig {
  explicit Connected(int deviceCode)
      : LinkRig(deviceCode, 291), sink(&link), to(std::make_shared<DeliveryHandle>(sink)) {
    EXPECT_EQ(link.Connect(1), 0);
    Wire().ClearLog();
  }
  ~Connected() {
    link.Disconnect();
    to->Revoke();
  }
  RecordingSink::Call Ask(RequestKind kind, std::int32_t parameter = 1, int timeoutMs = 500) {
    const auto before = sink.Calls().size();
    EXPECT_TRUE(Request(kind, parameter, timeoutMs, to));
    EXPECT_TRUE(sink.WaitFor(before + 1));
    const auto calls = sink.Calls();
    return calls.size() > before ? calls[before] : RecordingSink::Call{"none", -9, {}, {}};
  }
  RecordingSink sink;
  std::shared_ptr<DeliveryHandle> to;
};

// The sensor echoes the request's parameter, so a reply tells whose it is.
ScriptedSensor::Answer Echo(const Bytes& frame, int delayMs = 0) {
  return ScriptedSensor::Answer{test::SingleReply('P', FrameParameter(frame)), delayMs};
}

TEST(LinkStep, AReplyStillOnItsWayIsNeverTakenForTheNextRequest) {
  Connected rig(5);
  rig.Wire().SetTimeScale(0.1);  // time-outs 500 ms → 50 ms
  // Late by three time-outs: it arrives while the next request waits.
  rig.sensor.SetOverride("GA", [](const Bytes& frame) { return Echo(frame, 150); });
  EXPECT_EQ(rig.Ask(RequestKind::Average, 1).status, 0);
  rig.sensor.SetOverride("GA", [](const Bytes& frame) { return Echo(frame); });
  for (std::int32_t request = 2; request < 6; ++request) {
    const auto call = rig.Ask(RequestKind::Average, request);
    EXPECT_EQ(call.status, 1);
    EXPECT_EQ(call.values, std::vector<std::int32_t>{request});
  }
  // The resynchronisation: one marker query after the failed exchange.
  EXPECT_EQ(rig.Commands(), (Strings{"GA", "GD", "GA", "GA", "GA", "GA"}));
  EXPECT_EQ(rig.link.RejectedReplies(), 0u);
}

TEST(LinkStep, AMarkerThatNeverComesKeepsTheLinkOutOfStep) {
  Connected rig(5);
  rig.Wire().SetTimeScale(0.01);
  rig.sensor.SetOverride("GA", [](const Bytes&) { return std::nullopt; });
  rig.sensor.SetOverride("GD", [](const Bytes&) { return std::nullopt; });
  EXPECT_EQ(rig.Ask(RequestKind::Average, 1).status, 0);
  rig.sensor.SetOverride("GA", [](const Bytes& frame) { return Echo(frame); });
  // Without the marker's answer no request goes out at all.
  EXPECT_EQ(rig.Ask(RequestKind::Average, 2).status, 0);
  rig.sensor.ClearOverride("GD");
  const auto call = rig.Ask(RequestKind::Average, 3);
  EXPECT_EQ(call.status, 1);
  EXPECT_EQ(call.values, std::vector<std::int32_t>{3});
  EXPECT_EQ(rig.Commands(), (Strings{"GA", "GD", "GD", "GA"}));
}

TEST(LinkStep, RepliesWithStrayBytesOrOfAnotherKindAreRefused) {
  Connected rig(5);
  rig.sensor.SetOverride("GA", [](const Bytes& frame) {
    auto reply = test::SingleReply('P', FrameParameter(frame));
    reply.push_back('[');  // the start of something nobody asked for
    return ScriptedSensor::Answer{reply};
  });
  EXPECT_EQ(rig.Ask(RequestKind::Average, 1).status, 0);
  // Another kind keeps its status (no window stores it) but puts the link
  // out of step: a marker query goes before the next request.
  rig.sensor.SetOverride("GA",
                         [](const Bytes&) { return ScriptedSensor::Answer{test::SingleReply('S', 9)}; });
  EXPECT_EQ(rig.Ask(RequestKind::Average, 2).status, static_cast<int>(ReplyKind::SerialNumber));
  rig.sensor.ClearOverride("GA");
  EXPECT_EQ(rig.Ask(RequestKind::Average, 3).status, 1);
  EXPECT_EQ(rig.link.RejectedReplies(), 2u);
  EXPECT_EQ(rig.Commands(), (Strings{"GA", "GD", "GA", "GD", "GA"}));
}

TEST(LinkStep, ValuesNoModelCanMeasureAreRefusedAndCounted) {
  {
    Connected rig(5);
    // The widest power range of the model table (-30 to 60 dBm) with a
    // 40 dB margin.
    EXPECT_EQ(protocol::LowestPlausiblePower(), -7000);
    EXPECT_EQ(protocol::HighestPlausiblePower(), 10000);
    const std::pair<std::int32_t, int> cases[] = {{10000, 1},    {10001, 0},   {-7000, 1}, {-7001, 0},
                                                  {16609487, 0}, {6754208, 0}, {4000, 1}};
    for (const auto& [value, status] : cases) {
      rig.sensor.average = value;
      const auto call = rig.Ask(RequestKind::Average);
      EXPECT_EQ(call.status, status) << value;
      EXPECT_EQ(call.values, std::vector<std::int32_t>{status ? value : -1}) << value;
    }
    EXPECT_EQ(rig.link.RejectedReplies(), 4u);
  }
  {
    // The pair of the second generation, and one spike among the peak
    // values: nothing of such a frame is used, not even for the carry.
    Connected rig(10);
    rig.sensor.average = 4000;
    rig.sensor.reverse = 99999;
    EXPECT_EQ(rig.Ask(RequestKind::AverageReverse).status, 0);
    rig.sensor.reverse = 2600;
    EXPECT_EQ(rig.Ask(RequestKind::AverageReverse).status, 1);
    const auto carry = rig.link.PeakCarry();
    rig.sensor.peakValues.fill(4300);
    rig.sensor.peakValues[4] = -2000000;
    EXPECT_EQ(rig.Ask(RequestKind::Peak).status, 0);
    EXPECT_EQ(rig.link.PeakCarry(), carry);
    EXPECT_EQ(rig.link.RejectedReplies(), 2u);
  }
}

TEST(LinkStep, AVersionNoFirmwareHasFailsTheIdentification) {
  // 291 with a changed byte: it would pick a CCDF block length for good.
  for (const int version : {52259, 99, 10000}) {
    LinkRig rig(10, version);
    EXPECT_EQ(rig.link.Connect(1), -3) << version;
  }
  LinkRig rig(10, 9999);
  EXPECT_EQ(rig.link.Connect(1), 0);
}

TEST(LinkStep, ALostLineStopsTheAskingUntilTheSensorIsConnectedAgain) {
  Connected rig(5);
  std::atomic<int> announced{0};
  std::atomic<bool> onWorker{false};
  const auto caller = std::this_thread::get_id();
  rig.link.SetLineLostHandler([&] {
    onWorker = std::this_thread::get_id() != caller;
    ++announced;
  });
  EXPECT_EQ(rig.Ask(RequestKind::Average).status, 1);
  EXPECT_FALSE(rig.link.LineLost());

  rig.Wire().SetHungUp(true);
  EXPECT_EQ(rig.Ask(RequestKind::Average).status, 0);
  for (int i = 0; i < 200 && announced.load() == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_TRUE(rig.link.LineLost());
  EXPECT_FALSE(rig.link.IsConnected());
  EXPECT_FALSE(rig.Request(RequestKind::Average, 1, 500, rig.to));
  EXPECT_FALSE(rig.link.SendAverageRepeat(rig.settings.AvgRepeat()));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(announced.load(), 1);
  EXPECT_TRUE(onWorker.load());

  // The same sensor back: Connect works without a Disconnect first.
  rig.Wire().SetHungUp(false);
  ASSERT_EQ(rig.link.Connect(1), 0);
  EXPECT_FALSE(rig.link.LineLost());
  EXPECT_TRUE(rig.link.IsConnected());
  EXPECT_EQ(rig.Ask(RequestKind::Average).status, 1);
}

TEST(LinkStep, AOneShotCommandThatFindsTheLineGoneIsAnnouncedToo) {
  Connected rig(5);
  std::atomic<int> announced{0};
  rig.link.SetLineLostHandler([&] { ++announced; });
  rig.Wire().SetHungUp(true);
  EXPECT_FALSE(rig.link.SendAverageRepeat(rig.settings.AvgRepeat()));
  for (int i = 0; i < 200 && announced.load() == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(announced.load(), 1);
  EXPECT_TRUE(rig.link.LineLost());
}

}  // namespace
}  // namespace wattrix
