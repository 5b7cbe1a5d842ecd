#include "core/device/LinkFixture.h"
#include "core/device/SensorProtocol.h"
#include "core/vocabulary/SensorModel.h"

#include <gtest/gtest.h>

#include <chrono>

namespace wattrix {
namespace {

using test::Bytes;
using test::FrameParameter;
using test::LinkRig;
using Strings = std::vector<std::string>;

TEST(SensorLinkConnect, IdentifiesWithThreeShortQueriesAndKeepsTheIdentity) {
  LinkRig rig(10, 291, 123456);
  EXPECT_EQ(rig.link.DeviceCode(), -1);
  ASSERT_EQ(rig.link.Connect(3), 0);
  EXPECT_EQ(rig.Wire().LastOpenedPort(), 3);
  EXPECT_EQ(rig.Wire().Writes(),
            (std::vector<Bytes>{{'[', 'G', 'D', ']'}, {'[', 'G', 'V', ']'}, {'[', 'G', 'S', ']'}}));
  for (const auto& read : rig.Wire().Reads()) {
    EXPECT_EQ(read.count, 9u);
    EXPECT_EQ(read.timeoutMs, 2000);
  }
  EXPECT_TRUE(rig.link.IsConnected());
  EXPECT_TRUE(rig.link.IsRunning());
  EXPECT_EQ(rig.link.DeviceCode(), 10);
  EXPECT_EQ(rig.link.ModelCode(), model::kPX420B);
  EXPECT_EQ(rig.link.FirmwareVersion(), 291);
  EXPECT_EQ(rig.link.SerialNumber(), 123456);

  // A second Connect while the thread runs changes nothing.
  rig.Wire().ClearLog();
  EXPECT_EQ(rig.link.Connect(3), -1);
  EXPECT_TRUE(rig.Wire().Writes().empty());
  EXPECT_EQ(rig.link.DeviceCode(), 10);
  EXPECT_EQ(rig.sensor.FactoryCalls(), 1);

  rig.link.Disconnect();
  EXPECT_FALSE(rig.link.IsConnected());
  EXPECT_FALSE(rig.link.IsRunning());
  EXPECT_EQ(rig.link.DeviceCode(), -1);
  EXPECT_EQ(rig.link.FirmwareVersion(), -1);
  EXPECT_EQ(rig.link.SerialNumber(), -1);
  EXPECT_EQ(rig.Wire().CloseCount(), 1);
  EXPECT_FALSE(rig.Request(RequestKind::Average, 0, 500, nullptr));
  // Reconnecting makes a new transport.
  EXPECT_EQ(rig.link.Connect(-1), 0);
  EXPECT_EQ(rig.sensor.FactoryCalls(), 2);
  EXPECT_EQ(rig.Wire().LastOpenedPort(), -1);
}

TEST(SensorLinkConnect, RefusesUnknownSensorsAndDropsTheTransport) {
  for (int code : {9, 12, 0, 15}) {
    LinkRig rig(code);
    EXPECT_EQ(rig.link.Connect(1), -3) << code;
    EXPECT_FALSE(rig.link.IsConnected());
    EXPECT_FALSE(rig.link.IsRunning());
    EXPECT_EQ(rig.Wire().CloseCount(), 1);
    EXPECT_EQ(rig.link.DeviceCode(), -1);
    // Nothing is asked after the device code was refused.
    EXPECT_EQ(rig.Commands(), Strings{"GD"});
    // The next attempt starts from a new transport.
    EXPECT_EQ(rig.link.Connect(1), -3);
    EXPECT_EQ(rig.sensor.FactoryCalls(), 2);
  }
  for (int code : {4, 5, 6, 7, 8, 10, 11, 13, 14}) {
    LinkRig rig(code);
    EXPECT_EQ(rig.link.Connect(1), 0) << code;
  }
}

TEST(SensorLinkConnect, ReportsEachKindOfFailureWithItsCode) {
  {
    LinkRig rig;
    rig.link.SetTransportFactory([](int) { return std::unique_ptr<CPowerDevice>(); });
    EXPECT_EQ(rig.link.Connect(1), -2);
  }
  {
    LinkRig rig;
    rig.Wire().SetOpenSucceeds(false);
    EXPECT_EQ(rig.link.Connect(1), -2);
    EXPECT_FALSE(rig.link.IsConnected());
  }
  {
    // The version query answered with a serial number: identification fails.
    LinkRig rig;
    rig.sensor.SetOverride(
        "GV", [](const Bytes&) { return test::ScriptedSensor::Answer{test::SingleReply('S', 1)}; });
    EXPECT_EQ(rig.link.Connect(1), -3);
    EXPECT_EQ(rig.Commands(), (Strings{"GD", "GV"}));
  }
  {
    // A silent sensor: no retry, one read per query.
    LinkRig rig;
    rig.Wire().SetTimeScale(0.01);
    rig.sensor.SetOverride("GD", [](const Bytes&) { return std::nullopt; });
    EXPECT_EQ(rig.link.Connect(1), -3);
    EXPECT_EQ(rig.Wire().Reads().size(), 1u);
  }
}

TEST(SensorLinkCommands, PulseAveragingSendsBothCommandsWithTheClampedReference) {
  LinkRig rig;
  ASSERT_EQ(rig.link.Connect(1), 0);
  const std::pair<int, int> cases[] = {{-700, 700}, {0, 600}, {5000, 1000}, {100, 400}};
  for (const auto& [reference, sent] : cases) {
    rig.Wire().ClearLog();
    EXPECT_TRUE(rig.link.SendPulseAveraging(2, reference));
    const auto writes = rig.Wire().Writes();
    ASSERT_EQ(rig.Commands(), (Strings{"SU", "SR"}));
    EXPECT_EQ(FrameParameter(writes[0]), 4);
    EXPECT_EQ(FrameParameter(writes[1]), sent) << reference;
    for (const auto& read : rig.Wire().Reads()) {
      EXPECT_EQ(read.count, 5u);
      EXPECT_EQ(read.timeoutMs, 2000);
    }
  }
  // A missing first acknowledge fails the call, but [SR] still goes out,
  // after the marker query that brings the link back in step.
  rig.Wire().SetTimeScale(0.01);
  rig.Wire().ClearLog();
  rig.sensor.SetOverride("SU", [](const Bytes&) { return std::nullopt; });
  EXPECT_FALSE(rig.link.SendPulseAveraging(0, 0));
  EXPECT_EQ(rig.Commands(), (Strings{"SU", "GD", "SR"}));
}

TEST(SensorLinkCommands, TechnologyAndAverageRepeatSequences) {
  LinkRig rig(10);
  ASSERT_EQ(rig.link.Connect(1), 0);
  rig.settings.SetTechnology(7);
  rig.Wire().ClearLog();
  EXPECT_TRUE(rig.link.SendTechnology(rig.settings.Technology()));
  ASSERT_EQ(rig.Commands(), Strings{"SO"});
  EXPECT_EQ(FrameParameter(rig.Wire().Writes()[0]), 0);
  EXPECT_EQ(rig.Wire().Reads()[0].timeoutMs, 500);
  rig.settings.SetTechnology(0);
  rig.Wire().ClearLog();
  EXPECT_TRUE(rig.link.SendTechnology(rig.settings.Technology()));
  EXPECT_EQ(FrameParameter(rig.Wire().Writes()[0]), 6);

  rig.settings.SetAvgRepeat(16);
  rig.Wire().ClearLog();
  EXPECT_TRUE(rig.link.SendAverageRepeat(rig.settings.AvgRepeat()));
  EXPECT_EQ(rig.Commands(), (Strings{"ST", "SN", "SZ", "SO"}));
  const auto writes = rig.Wire().Writes();
  EXPECT_EQ(FrameParameter(writes[0]), 8);
  EXPECT_EQ(FrameParameter(writes[1]), 2000);
  EXPECT_EQ(FrameParameter(writes[2]), 16);
  EXPECT_EQ(FrameParameter(writes[3]), 0);
  for (const auto& read : rig.Wire().Reads()) EXPECT_EQ(read.timeoutMs, 2000);

  LinkRig other(11);  // PX430B
  ASSERT_EQ(other.link.Connect(1), 0);
  other.settings.SetAvgRepeat(4);
  other.Wire().ClearLog();
  EXPECT_TRUE(other.link.SendAverageRepeat(other.settings.AvgRepeat()));
  EXPECT_EQ(other.Commands(), Strings{"SZ"});
  EXPECT_EQ(FrameParameter(other.Wire().Writes()[0]), 4);
}

TEST(SensorLinkCommands, LoggingSetupSendsEveryCommandInOrderEvenAfterAFailure) {
  LinkRig rig;
  ASSERT_EQ(rig.link.Connect(1), 0);
  rig.settings.SetExternalOffset(-1.5f);
  rig.settings.SetTechnology(3);
  const std::int32_t frequency100 = protocol::Times100(900.57f);
  EXPECT_EQ(frequency100, 90057);
  rig.Wire().ClearLog();
  EXPECT_TRUE(rig.link.ConfigureLogging(frequency100, QuantityMask{0x05}, 60, 150, 77, 88, 1, -700,
                                        protocol::Times100(rig.settings.ExternalOffset()),
                                        rig.settings.Technology()));
  const Strings order{"AE", "AF", "AM", "AI", "AN", "AT", "SN", "AU", "SR", "AR", "SO"};
  EXPECT_EQ(rig.Commands(), order);
  std::vector<std::int32_t> params;
  for (const auto& frame : rig.Wire().Writes()) params.push_back(FrameParameter(frame));
  EXPECT_EQ(params, (std::vector<std::int32_t>{-150, 90000, 5, 60, 150, 8, 2000, 2, 700, 1, 5}));
  const auto reads = rig.Wire().Reads();
  ASSERT_EQ(reads.size(), 11u);
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(reads[i].timeoutMs, 500);
  EXPECT_EQ(reads[10].timeoutMs, 2000);

  rig.Wire().SetTimeScale(0.01);
  rig.Wire().ClearLog();
  rig.sensor.SetOverride("AM", [](const Bytes&) {
    return test::ScriptedSensor::Answer{Bytes{'[', 'T', ',', 'x', 0x0D}};
  });
  EXPECT_FALSE(rig.link.ConfigureLogging(frequency100, QuantityMask{0x01}, 60, 150, 0, 0, 0, 0,
                                         protocol::Times100(rig.settings.ExternalOffset()),
                                         rig.settings.Technology()));
  auto resynced = order;
  resynced.insert(resynced.begin() + 3, "GD");
  EXPECT_EQ(rig.Commands(), resynced);
  EXPECT_EQ(rig.link.RejectedReplies(), 1u);
}

TEST(SensorLinkCommands, LoggingRunClearAndStatus) {
  LinkRig rig;
  ASSERT_EQ(rig.link.Connect(1), 0);
  rig.Wire().ClearLog();
  EXPECT_TRUE(rig.link.SetLoggingRun(0));
  EXPECT_TRUE(rig.link.ClearLoggingMemory());
  EXPECT_EQ(rig.Commands(), (Strings{"AR", "AO"}));
  EXPECT_EQ(FrameParameter(rig.Wire().Writes()[0]), 0);
  EXPECT_EQ(FrameParameter(rig.Wire().Writes()[1]), 1);
  for (const auto& read : rig.Wire().Reads()) EXPECT_EQ(read.timeoutMs, 10000);

  rig.sensor.loggingStatus = {3, 0, 0, 0, 0, 0, 600, 0, 0, 0, 42};
  rig.Wire().ClearLog();
  EXPECT_TRUE(rig.link.ReadLoggingStatus());
  EXPECT_EQ(rig.Wire().Writes()[0], (Bytes{'[', 'A', 'S', ']', '\\'}));
  EXPECT_EQ(rig.Wire().Reads()[0].count, 59u);
  EXPECT_EQ(rig.Wire().Reads()[0].timeoutMs, 10000);
  EXPECT_EQ(rig.link.LoggingStatus(0), 3);
  EXPECT_EQ(rig.link.LoggingStatus(6), 600);
  EXPECT_EQ(rig.link.LoggingStatus(10), 42);
  EXPECT_EQ(rig.link.LoggingStatus(11), 0);

  // A wrong closing still stores the values; a wrong tag stores nothing.
  rig.sensor.SetOverride("AS", [](const Bytes&) {
    auto reply = test::ValueReply('G', {1, 1, 0, 0, 0, 0, 9, 0, 0, 0, 0});
    reply[58] = 0;
    return test::ScriptedSensor::Answer{reply};
  });
  EXPECT_FALSE(rig.link.ReadLoggingStatus());
  EXPECT_EQ(rig.link.LoggingStatus(6), 9);
  rig.sensor.SetOverride("AS", [](const Bytes&) {
    return test::ScriptedSensor::Answer{test::ValueReply('P', {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5})};
  });
  EXPECT_FALSE(rig.link.ReadLoggingStatus());
  EXPECT_EQ(rig.link.LoggingStatus(6), 9);
}

TEST(SensorLinkCommands, PowerDirectionComparesTheStoredPair) {
  LinkRig rig;
  ASSERT_EQ(rig.link.Connect(1), 0);
  rig.sensor.average = 1000;
  rig.sensor.reverse = 4000;
  rig.Wire().ClearLog();
  std::int32_t average = 0;
  std::int32_t reverse = 0;
  EXPECT_TRUE(rig.link.CheckPowerDirection(90057, average, reverse));
  EXPECT_EQ(average, 1000);
  EXPECT_EQ(reverse, 4000);
  EXPECT_EQ(FrameParameter(rig.Wire().Writes()[0]), 90057);
  EXPECT_EQ(rig.Wire().Reads()[0].count, 14u);
  EXPECT_EQ(rig.Wire().Reads()[0].timeoutMs, 500);

  // A failed read keeps the previous pair and so the previous answer.
  rig.Wire().SetTimeScale(0.01);
  rig.sensor.SetOverride("GE", [](const Bytes&) { return std::nullopt; });
  EXPECT_TRUE(rig.link.CheckPowerDirection(90057, average, reverse));
  EXPECT_EQ(reverse, 4000);
  rig.sensor.ClearOverride("GE");
  rig.sensor.average = 4000;
  rig.sensor.reverse = 1000;
  EXPECT_FALSE(rig.link.CheckPowerDirection(90057));
}

TEST(SensorLinkCommands, InputLeftFromATimedOutExchangeIsNotTakenForTheNextReply) {
  LinkRig rig;
  ASSERT_EQ(rig.link.Connect(1), 0);
  rig.Wire().SetTimeScale(0.1);  // the 500 ms wait becomes 50 ms
  // The first acknowledge comes too late for its command ...
  rig.sensor.SetOverride("SO", [](const Bytes&) {
    return test::ScriptedSensor::Answer{test::AckReply(), 150};
  });
  EXPECT_FALSE(rig.link.SendTechnology(rig.settings.Technology()));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  // ... and the next command's sensor says nothing: the late bytes must not
  // pass for its acknowledge.
  rig.sensor.SetOverride("SO", [](const Bytes&) { return std::nullopt; });
  EXPECT_FALSE(rig.link.SendTechnology(rig.settings.Technology()));
  EXPECT_GE(rig.Wire().DiscardCount(), 2);
}

}  // namespace
}  // namespace wattrix
