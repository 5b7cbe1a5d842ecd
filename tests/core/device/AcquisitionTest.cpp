#include "core/device/LinkFixture.h"
#include "core/device/RecordingSink.h"
#include "core/device/SensorProtocol.h"
#include "core/vocabulary/SensorModel.h"

#include <gtest/gtest.h>

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
using Clock = std::chrono::steady_clock;

// A rig connected to the given sensor with a window that asks.
struct Running : LinkRig {
  explicit Running(int deviceCode, int version = 291)
      : LinkRig(deviceCode, version), sink(&link), to(std::make_shared<DeliveryHandle>(sink)) {
    EXPECT_EQ(link.Connect(1), 0);
    Wire().ClearLog();
  }
  ~Running() {
    link.Disconnect();
    to->Revoke();
  }
  bool Request(RequestKind kind, std::int32_t parameter, int timeoutMs) {
    return LinkRig::Request(kind, parameter, timeoutMs, to);
  }
  // Asks like a window does and waits for the delivery.
  RecordingSink::Call Ask(RequestKind kind, std::int32_t parameter = 240000, int timeoutMs = 500) {
    const auto before = sink.Calls().size();
    EXPECT_TRUE(Request(kind, parameter, timeoutMs));
    EXPECT_TRUE(sink.WaitFor(before + 1)) << "no delivery for kind " << static_cast<int>(kind);
    const auto calls = sink.Calls();
    return calls.size() > before ? calls[before] : RecordingSink::Call{"none", -9, {-1, -1, -1, -1, -1}, {}};
  }

  RecordingSink sink;
  std::shared_ptr<DeliveryHandle> to;
};

// Waits until the worker has gone quiet (all written frames answered).
void Settle() { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }

TEST(Acquisition, FirstGenerationModelsUseTheSingleValueCommands) {
  for (int code : {4, 5, 6, 7, 8, 11, 13, 14}) {
    Running rig(code);
    rig.sensor.average = 4012;
    rig.sensor.peak = -250;
    rig.sensor.reverse = 1999;
    auto call = rig.Ask(RequestKind::Average, 90057);
    EXPECT_EQ(call.entry, "avg");
    EXPECT_EQ(call.status, 1);
    EXPECT_EQ(call.values, std::vector<std::int32_t>{4012});
    call = rig.Ask(RequestKind::Peak);
    EXPECT_EQ(call.entry, "peak");
    EXPECT_EQ(call.values, std::vector<std::int32_t>{-250});
    call = rig.Ask(RequestKind::Reverse, 77);
    EXPECT_EQ(call.entry, "rev");
    EXPECT_EQ(call.values, std::vector<std::int32_t>{1999});
    EXPECT_EQ(rig.Commands(), (Strings{"GA", "GF", "GR"})) << code;
    EXPECT_EQ(FrameParameter(rig.Wire().Writes()[0]), 90057);
    EXPECT_EQ(FrameParameter(rig.Wire().Writes()[2]), 77);
    for (const auto& read : rig.Wire().Reads()) {
      EXPECT_EQ(read.count, 9u);
      EXPECT_EQ(read.timeoutMs, 500);
    }
    EXPECT_EQ(call.status, 1);

    // Kind 1 is not served on these models: nothing sent, nothing delivered.
    rig.Wire().ClearLog();
    ASSERT_TRUE(rig.Request(RequestKind::AverageReverse, 1, 500));
    Settle();
    EXPECT_TRUE(rig.Wire().Writes().empty());
    EXPECT_EQ(rig.sink.Calls().size(), 3u);
  }
}

TEST(Acquisition, SecondGenerationUsesPairAndFilteredPeak) {
  Running rig(10);
  rig.sensor.average = 4100;
  rig.sensor.reverse = 900;
  auto call = rig.Ask(RequestKind::AverageReverse, 90057);
  EXPECT_EQ(call.entry, "avgrev");
  EXPECT_EQ(call.status, 1);
  EXPECT_EQ(call.values, (std::vector<std::int32_t>{4100, 900}));
  EXPECT_EQ(rig.Wire().Reads().back().count, 14u);

  // Builds a carry of 300 and 250, then a reply of eleven 100s reads 250.
  rig.sensor.peakValues = {1000, 300, 250, 0, 0, 0, 0, 0, 0, 0, 0};
  call = rig.Ask(RequestKind::Peak);
  EXPECT_EQ(call.values, std::vector<std::int32_t>{300});
  rig.sensor.peakValues.fill(100);
  call = rig.Ask(RequestKind::Peak);
  EXPECT_EQ(call.entry, "peak");
  EXPECT_EQ(call.values, std::vector<std::int32_t>{250});
  EXPECT_EQ(rig.link.PeakCarry(), (protocol::PeakCarry{250, 100}));
  EXPECT_EQ(rig.Wire().Reads().back().count, 59u);

  // Only an explicit reset brings back the initial carry.
  rig.link.ResetPeakCarry();
  rig.sensor.peakValues.fill(-3000);
  call = rig.Ask(RequestKind::Peak);
  EXPECT_EQ(call.values, std::vector<std::int32_t>{-1});

  // A failed [GP] read keeps the carry.
  rig.link.ResetPeakCarry();
  rig.sensor.peakValues.fill(500);
  rig.Ask(RequestKind::Peak);
  rig.Wire().SetTimeScale(0.01);
  rig.sensor.SetOverride("GP", [](const Bytes&) { return std::nullopt; });
  call = rig.Ask(RequestKind::Peak);
  EXPECT_EQ(call.status, 0);
  EXPECT_EQ(call.values, std::vector<std::int32_t>{-1});
  EXPECT_EQ(rig.link.PeakCarry(), (protocol::PeakCarry{500, 500}));

  // Kinds 0 and 3 are not served on this model.
  rig.Wire().ClearLog();
  const auto before = rig.sink.Calls().size();
  ASSERT_TRUE(rig.Request(RequestKind::Average, 1, 500));
  Settle();
  ASSERT_TRUE(rig.Request(RequestKind::Reverse, 1, 500));
  Settle();
  EXPECT_TRUE(rig.Wire().Writes().empty());
  EXPECT_EQ(rig.sink.Calls().size(), before);
}

TEST(Acquisition, PulseDeliversTheFiveValuesInReplyOrder) {
  for (int code : {10, 14}) {
    Running rig(code);
    rig.sensor.pulse = {4100, -20, 30, 40, 16};
    const auto call = rig.Ask(RequestKind::Pulse, 12345);
    EXPECT_EQ(call.entry, "pulse");
    EXPECT_EQ(call.status, 1);
    EXPECT_EQ(call.values, (std::vector<std::int32_t>{4100, -20, 30, 40, 16}));
    EXPECT_EQ(rig.Commands(), Strings{"GU"});
    EXPECT_EQ(rig.Wire().Reads()[0].count, 29u);
    EXPECT_EQ(call.values[4], 16);
  }
}

TEST(Acquisition, StatusIsTheReplyKindOrZeroWithMinusOnes) {
  Running rig(5);
  rig.Wire().SetTimeScale(0.01);
  // A version reply where a measurement was due is passed on with status 3.
  rig.sensor.SetOverride("GA",
                         [](const Bytes&) { return ScriptedSensor::Answer{test::SingleReply('V', 291)}; });
  auto call = rig.Ask(RequestKind::Average);
  EXPECT_EQ(call.status, 3);
  EXPECT_EQ(call.values, std::vector<std::int32_t>{291});

  // Dropped, corrupted and cut replies give status 0 and -1, never a value.
  const std::vector<ScriptedSensor::Override> faults{
      [](const Bytes&) { return std::nullopt; },
      [](const Bytes&) {
        auto reply = test::SingleReply('P', 4000);
        reply[7] = 'x';
        return ScriptedSensor::Answer{reply};
      },
      [](const Bytes&) {
        auto reply = test::SingleReply('P', 4000);
        reply.resize(6);
        return ScriptedSensor::Answer{reply};
      },
      [](const Bytes&) { return ScriptedSensor::Answer{Bytes(9, 0xFF)}; },
  };
  for (const auto& fault : faults) {
    rig.sensor.SetOverride("GA", fault);
    call = rig.Ask(RequestKind::Average);
    EXPECT_EQ(call.status, 0);
    EXPECT_EQ(call.values, std::vector<std::int32_t>{-1});
  }
  rig.sensor.ClearOverride("GA");
  call = rig.Ask(RequestKind::Average);
  EXPECT_EQ(call.status, 1);
  EXPECT_EQ(call.values, std::vector<std::int32_t>{4000});
}

TEST(Acquisition, MultiValueFailuresDeliverMinusOnes) {
  Running rig(10);
  rig.Wire().SetTimeScale(0.01);
  auto badClose = [](std::vector<std::int32_t> values) {
    return [values](const Bytes&) {
      auto reply = test::ValueReply('P', values);
      reply[reply.size() - 2] = '}';
      return ScriptedSensor::Answer{reply};
    };
  };
  rig.sensor.SetOverride("GE", badClose({1, 2}));
  rig.sensor.SetOverride("GU", badClose({1, 2, 3, 4, 5}));
  auto call = rig.Ask(RequestKind::AverageReverse);
  EXPECT_EQ(call.status, 0);
  EXPECT_EQ(call.values, (std::vector<std::int32_t>{-1, -1}));
  call = rig.Ask(RequestKind::Pulse);
  EXPECT_EQ(call.status, 0);
  EXPECT_EQ(call.values, (std::vector<std::int32_t>(5, -1)));
}

TEST(Acquisition, CcdfBlockFollowsTheFirmwareVersion) {
  {
    // Newest firmware: small block, keys from the offset of the request's time.
    Running rig(10, 295);
    rig.settings.SetExternalOffset(-1.5f);
    rig.sensor.ccdfCounts = {1100, 1200, 0, 7700};
    const auto call = rig.Ask(RequestKind::Ccdf, 90057);
    EXPECT_EQ(call.entry, "ccdf");
    EXPECT_EQ(call.status, 1);
    EXPECT_EQ(call.histogram, (CcdfHistogram{{-150, 1100}, {-140, 1200}, {-120, 7700}}));
    const auto writes = rig.Wire().Writes();
    ASSERT_EQ(rig.Commands(), (Strings{"GC", "GK"}));
    EXPECT_EQ(FrameParameter(writes[0]), 90057);
    EXPECT_EQ(writes[1], (Bytes{'[', 'G', 'K', ']'}));
    const auto reads = rig.Wire().Reads();
    EXPECT_EQ(reads[0].count, 5u);
    EXPECT_EQ(reads[0].timeoutMs, 10000);
    EXPECT_EQ(reads[1].count, 1536u);
    EXPECT_EQ(reads[1].timeoutMs, 10000);
  }
  {
    // Oldest firmware. A block whose counts are not one sweep's 10,000
    // samples (here none at all) is refused and counted.
    Running rig(14, 290);
    rig.sensor.ccdfCounts = {};
    auto call = rig.Ask(RequestKind::Ccdf);
    EXPECT_EQ(call.status, 0);
    EXPECT_TRUE(call.histogram.empty());
    EXPECT_EQ(rig.link.RejectedReplies(), 1u);
    rig.sensor.ccdfCounts = {4000, 6001};
    EXPECT_EQ(rig.Ask(RequestKind::Ccdf).status, 0);
    EXPECT_EQ(rig.link.RejectedReplies(), 2u);
    rig.sensor.ccdfCounts = {4000, 6000};
    call = rig.Ask(RequestKind::Ccdf);
    EXPECT_EQ(call.status, 1);
    EXPECT_EQ(call.histogram, (CcdfHistogram{{2176, 4000}, {2177, 6000}}));
    EXPECT_EQ(rig.Wire().Reads()[1].count, 6144u);
    EXPECT_EQ(rig.Wire().Reads()[1].timeoutMs, 50000);
  }
  {
    Running rig(10, 293);
    rig.sensor.ccdfCounts = {0, 10000};
    auto call = rig.Ask(RequestKind::Ccdf);
    EXPECT_EQ(call.histogram, (CcdfHistogram{{2177, 10000}}));
    EXPECT_EQ(rig.Wire().Reads()[1].count, 7680u);
    // A missed gate acknowledge is not checked; a bad block empties the
    // histogram and delivers 0.
    rig.Wire().SetTimeScale(0.001);
    rig.sensor.SetOverride("GC", [](const Bytes&) { return std::nullopt; });
    call = rig.Ask(RequestKind::Ccdf);
    EXPECT_EQ(call.status, 1);
    rig.sensor.SetOverride("GK", [](const Bytes&) {
      auto block = test::CcdfBlock(7680, {5});
      block[1] = 'X';
      return ScriptedSensor::Answer{block};
    });
    call = rig.Ask(RequestKind::Ccdf);
    EXPECT_EQ(call.status, 0);
    EXPECT_TRUE(call.histogram.empty());
  }
}

TEST(Acquisition, RequestSetsBusyBeforeTheWorkerCanDeliver) {
  // A reply that comes at once must still find the flag set: were it set
  // by the caller after the request, this delivery could be dropped and the
  // window would wait for good.
  Running rig(5);
  for (int i = 0; i < 200; ++i) {
    const auto call = rig.Ask(RequestKind::Average);
    ASSERT_EQ(call.status, 1) << i;
    ASSERT_FALSE(rig.link.BusyFlag());
  }
}

TEST(Acquisition, DeliversOnlyWhileBusyAndStillReadsADroppedReply) {
  Running rig(5);
  rig.sensor.SetOverride("GA", [](const Bytes&) {
    return ScriptedSensor::Answer{test::SingleReply('P', 1111), 200};
  });
  ASSERT_TRUE(rig.Request(RequestKind::Average, 1, 500));
  // The window stops while the reply is on its way.
  rig.link.SetBusyFlag(false);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(rig.sink.Calls().empty());
  EXPECT_EQ(rig.Wire().Reads().size(), 1u);
  // The next exchange gets its own answer.
  rig.sensor.ClearOverride("GA");
  rig.sensor.average = 2222;
  const auto call = rig.Ask(RequestKind::Average);
  EXPECT_EQ(call.values, std::vector<std::int32_t>{2222});
}

TEST(Acquisition, LateRepliesAreDiscardedAndNeverDeliveredForTheNextRequest) {
  Running rig(5);
  rig.Wire().SetTimeScale(0.1);  // 500 ms → 50 ms
  rig.sensor.SetOverride("GA", [](const Bytes& frame) {
    // Answers with the frequency it was asked for, too late.
    return ScriptedSensor::Answer{test::SingleReply('P', FrameParameter(frame)), 150};
  });
  auto call = rig.Ask(RequestKind::Average, 1);
  EXPECT_EQ(call.status, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the late reply has arrived
  rig.sensor.SetOverride("GA", [](const Bytes& frame) {
    return ScriptedSensor::Answer{test::SingleReply('P', FrameParameter(frame))};
  });
  call = rig.Ask(RequestKind::Average, 2);
  EXPECT_EQ(call.status, 1);
  EXPECT_EQ(call.values, std::vector<std::int32_t>{2});
}

TEST(Acquisition, DisconnectEndsAHungExchangeWithinOneSecond) {
  struct Case {
    const char* what;
    RequestKind kind;
    int deviceCode;
    int version;
    std::string silentCommand;
  };
  const Case cases[] = {
      {"CCDF block of 50 s", RequestKind::Ccdf, 10, 290, "GK"},
      {"CCDF gate of 10 s", RequestKind::Ccdf, 10, 295, "GC"},
      {"average", RequestKind::Average, 5, 291, "GA"},
  };
  for (const auto& c : cases) {
    Running rig(c.deviceCode, c.version);
    rig.sensor.SetOverride(c.silentCommand, [](const Bytes&) { return std::nullopt; });
    ASSERT_TRUE(rig.Request(c.kind, 1, 60000));
    ASSERT_TRUE(rig.Wire().WaitForWaitingRead(2000)) << c.what;
    const auto start = Clock::now();
    rig.link.Disconnect();
    const auto took = Clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(1)) << c.what;
    EXPECT_FALSE(rig.link.IsRunning());
    EXPECT_FALSE(rig.link.IsConnected());
    // The cut exchange is not passed off as a reading.
    EXPECT_TRUE(rig.sink.Calls().empty()) << c.what;
  }
}

TEST(Acquisition, DisconnectRightAfterARequestNeverWaitsForTheReadTimeout) {
  // A cancel that lands before the read starts must not be lost.
  for (int i = 0; i < 20; ++i) {
    Running rig(5);
    rig.sensor.SetOverride("GA", [](const Bytes&) { return std::nullopt; });
    ASSERT_TRUE(rig.Request(RequestKind::Average, 1, 30000));
    const auto start = Clock::now();
    rig.link.Disconnect();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
  }
}

TEST(Acquisition, AHungUpSensorNeverHangsTheLink) {
  Running rig(10, 291);
  rig.Wire().SetHungUp(true);
  const auto call = rig.Ask(RequestKind::Peak, 1, 500);
  EXPECT_EQ(call.status, 0);
  // Nothing more is asked of a line that is gone.
  for (RequestKind kind :
       {RequestKind::AverageReverse, RequestKind::Peak, RequestKind::Pulse, RequestKind::Ccdf})
    EXPECT_FALSE(rig.Request(kind, 1, 500)) << static_cast<int>(kind);
  const auto start = Clock::now();
  rig.link.Disconnect();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
}

TEST(Acquisition, OneShotCommandsWaitForTheRunningExchange) {
  Running rig(10, 291);
  // The [GU] reply takes a while; a one-shot command from this thread must
  // not write into that exchange.
  rig.sensor.SetOverride("GU", [](const Bytes&) {
    return ScriptedSensor::Answer{test::ValueReply('P', {1, 2, 3, 4, 8}), 100};
  });
  ASSERT_TRUE(rig.Request(RequestKind::Pulse, 1, 500));
  ASSERT_TRUE(rig.Wire().WaitForWaitingRead(2000));
  EXPECT_TRUE(rig.link.SendTechnology(0));
  ASSERT_TRUE(rig.sink.WaitFor(1));
  const auto call = rig.sink.Calls()[0];
  EXPECT_EQ(call.status, 1);
  EXPECT_EQ(call.values, (std::vector<std::int32_t>{1, 2, 3, 4, 8}));
  EXPECT_EQ(rig.Commands(), (Strings{"GU", "SO"}));
}

TEST(Acquisition, AWindowThatRevokesItsHandleIsNeverCalledAgain) {
  Running rig(5);
  // A sink that is slow to take its reading.
  struct SlowSink final : ReadingSink {
    std::atomic<int> calls{0};
    std::atomic<bool> inside{false};
    std::atomic<bool> calledAfterUnregister{false};
    std::atomic<bool> unregistered{false};
    void OnReading(const Reading&) override {
      if (unregistered.load()) calledAfterUnregister.store(true);
      inside.store(true);
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      ++calls;
      inside.store(false);
    }
  } slow;
  const auto slowHandle = std::make_shared<DeliveryHandle>(slow);
  std::atomic<bool> run{true};
  std::thread window([&] {
    while (run.load()) {
      rig.LinkRig::Request(RequestKind::Average, 1, 500, slowHandle);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  while (slow.calls.load() < 2 || !slow.inside.load())
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  slowHandle->Revoke();
  slow.unregistered.store(true);
  EXPECT_FALSE(slow.inside.load());
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  run.store(false);
  window.join();
  EXPECT_FALSE(slow.calledAfterUnregister.load());
}

}  // namespace
}  // namespace wattrix

namespace wattrix {
namespace {

TEST(Acquisition, ASinkThatDisconnectsDoesNotDeadlockTheThread) {
  Running rig(5);
  struct Disconnecting final : ReadingSink {
    SensorLink* link = nullptr;
    std::atomic<int> calls{0};
    void OnReading(const Reading&) override {
      ++calls;
      link->Disconnect();
    }
  } sink;
  sink.link = &rig.link;
  const auto handle = std::make_shared<DeliveryHandle>(sink);
  ASSERT_TRUE(rig.LinkRig::Request(RequestKind::Average, 1, 500, handle));
  while (sink.calls.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_FALSE(rig.LinkRig::Request(RequestKind::Average, 1, 500, handle));
  const auto start = Clock::now();
  rig.link.Disconnect();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
  EXPECT_FALSE(rig.link.IsConnected());
  EXPECT_EQ(rig.link.Connect(1), 0);
  handle->Revoke();
}

}  // namespace
}  // namespace wattrix
