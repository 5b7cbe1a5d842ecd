// Whole exchanges of the link with the simulated sensor: in process over
// the loopback for every model and request kind, and over real ptys and
// FIFOs through the default transports.
#include "core/device/LogBlockDecoder.h"
#include "core/device/RecordingSink.h"
#include "core/device/SensorLink.h"
#include "core/device/SensorProtocol.h"
#include "core/measure/MeasurementSettings.h"
#include "core/settings/LogValueStore.h"
#include "core/vocabulary/SensorModel.h"
#include "sim/SimLoopbackDevice.h"
#include "support/SimHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace wattrix {
namespace {

using Clock = std::chrono::steady_clock;
using test::RecordingSink;

// The kinds a model's windows ask for: the measurement cycle, and pulse and
// CCDF where the model offers those modes.
std::vector<RequestKind> KindsOf(int modelCode) {
  std::vector<RequestKind> kinds;
  switch (modelCode) {
    case model::kPX420A:
    case model::kPX440A:
      kinds = {RequestKind::Average, RequestKind::Peak, RequestKind::Reverse};
      break;
    case model::kPX470A:
    case model::kPX470B:
      kinds = {RequestKind::Average, RequestKind::Peak};
      break;
    case model::kPX450A:
    case model::kPX450B:
      kinds = {RequestKind::Peak};
      break;
    case model::kPX420B:
      kinds = {RequestKind::AverageReverse, RequestKind::Peak};
      break;
    default:
      kinds = {RequestKind::Average};
      break;
  }
  if (ModelOffers(modelCode, ModeCommand::Pulse)) kinds.push_back(RequestKind::Pulse);
  if (ModelOffers(modelCode, ModeCommand::Ccdf)) kinds.push_back(RequestKind::Ccdf);
  return kinds;
}

// A link on a loopback to a simulated sensor, with a window in every slot.
struct LoopbackRig {
  explicit LoopbackRig(sim::SimConfig config) : sink(&link), to(std::make_shared<DeliveryHandle>(sink)) {
    link.SetTransportFactory([this, config](int) {
      auto device = std::make_unique<sim::SimLoopbackDevice>(config);
      device->WithSensor([this](sim::SimSensor& s) { s.SetClock([this] { return simSeconds.load(); }); });
      loopback = device.get();
      return std::unique_ptr<CPowerDevice>(std::move(device));
    });
  }
  ~LoopbackRig() {
    link.Disconnect();
    to->Revoke();
  }

  RecordingSink::Call Ask(RequestKind kind) {
    const auto before = sink.Calls().size();
    EXPECT_TRUE(link.RequestMeasurement(
        {kind, protocol::Times100(settings.Frequency()), 500, protocol::Times100(settings.ExternalOffset())},
        to));
    EXPECT_TRUE(sink.WaitFor(before + 1, 10000)) << "kind " << static_cast<int>(kind);
    const auto calls = sink.Calls();
    return calls.size() > before ? calls[before] : RecordingSink::Call{"none", -9, {-1, -1, -1, -1, -1}, {}};
  }

  std::atomic<double> simSeconds{0.0};
  MeasurementSettings settings;
  SensorLink link;
  RecordingSink sink;
  std::shared_ptr<DeliveryHandle> to;
  sim::SimLoopbackDevice* loopback = nullptr;
};

int Centi(double dbm) { return static_cast<int>(std::lround(dbm * 100.0)); }

TEST(SimExchange, EveryModelAnswersEveryKindItsWindowsAskFor) {
  for (const auto& row : SensorModels()) {
    auto config = sim::SimConfig::ForModel(row.modelCode);
    config.signals.noiseDb = 0.0;
    LoopbackRig rig(config);
    ASSERT_EQ(rig.link.Connect(row.modelCode == model::kPX420B ? 1 : -1), 0) << row.name;
    EXPECT_EQ(rig.link.ModelCode(), row.modelCode);
    EXPECT_EQ(rig.link.SerialNumber(), config.serialNumber);
    EXPECT_EQ(rig.link.FirmwareVersion(), config.firmwareVersion);

    const int forward = Centi(config.signals.forwardDbm);
    const int reverse = Centi(config.signals.reverseDbm);
    for (RequestKind kind : KindsOf(row.modelCode)) {
      const auto call = rig.Ask(kind);
      ASSERT_EQ(call.status, 1) << row.name << " kind " << static_cast<int>(kind);
      switch (kind) {
        case RequestKind::Average:
          EXPECT_NEAR(call.values[0], forward, 2) << row.name;
          break;
        case RequestKind::Reverse:
          EXPECT_NEAR(call.values[0], reverse, 2) << row.name;
          break;
        case RequestKind::AverageReverse:
          EXPECT_NEAR(call.values[0], forward, 2);
          EXPECT_NEAR(call.values[1], reverse, 2);
          break;
        case RequestKind::Peak:
          EXPECT_NEAR(call.values[0], forward + Centi(config.signals.peakToAverageDb), 30) << row.name;
          break;
        case RequestKind::Pulse:
          EXPECT_NEAR(call.values[0], Centi(config.signals.pulsePowerDbm), 30) << row.name;
          EXPECT_TRUE(call.values[4] == 1 || call.values[4] == 2 || call.values[4] == 4 ||
                      call.values[4] == 8 || call.values[4] == 16);
          break;
        case RequestKind::Ccdf: {
          ASSERT_FALSE(call.histogram.empty()) << row.name;
          long long samples = 0;
          for (const auto& [key, count] : call.histogram) samples += count;
          EXPECT_GT(samples, 0);
          break;
        }
      }
    }
  }
}

TEST(SimExchange, StartSequencesAndLoggingRoundTripOnThePX420B) {
  auto config = sim::SimConfig::ForModel(model::kPX420B);
  config.firmwareVersion = 295;  // the small CCDF block
  LoopbackRig rig(config);
  ASSERT_EQ(rig.link.Connect(1), 0);
  rig.settings.SetTechnology(0);
  EXPECT_TRUE(rig.link.SendAverageRepeat(rig.settings.AvgRepeat()));
  EXPECT_TRUE(rig.link.SendPulseAveraging(3, -700));
  EXPECT_TRUE(rig.link.SendTechnology(rig.settings.Technology()));
  EXPECT_FALSE(rig.link.CheckPowerDirection(240000));  // forward above reverse
  rig.loopback->WithSensor([](sim::SimSensor& s) { EXPECT_EQ(s.TechnologyCode(), 6); });
  // The pulse window's time base follows the averaging the start set.
  EXPECT_EQ(rig.Ask(RequestKind::Pulse).values[4], 8);
  rig.settings.SetExternalOffset(-1.5f);
  const auto ccdf = rig.Ask(RequestKind::Ccdf);
  ASSERT_EQ(ccdf.status, 1);
  for (const auto& [key, count] : ccdf.histogram) ASSERT_EQ((key + 150) % 10, 0) << key;

  // Logging: set up, let simulated time run, read the status, download.
  EXPECT_TRUE(rig.link.ConfigureLogging(protocol::Times100(900.57f), QuantityMask{0x05}, 1, 300, 0, 0, 0, 0,
                                        protocol::Times100(rig.settings.ExternalOffset()),
                                        rig.settings.Technology()));
  rig.simSeconds.store(1000.0);
  ASSERT_TRUE(rig.link.ReadLoggingStatus());
  EXPECT_EQ(rig.link.LoggingStatus(0), 0x05);
  const int n = rig.link.LoggingStatus(6);
  ASSERT_GT(n, 250);  // more than one block
  const int blocks = protocol::LogBlockCount(n);
  std::vector<std::uint16_t> values;
  ASSERT_EQ(rig.link.ReadLog(1000, blocks * 512, blocks, n, values, nullptr), LogReadResult::kDone);
  rig.settings.ResetHistories();
  logging_download::StoreLogValues(rig.settings, QuantityMask(rig.link.LoggingStatus(0)), values);
  EXPECT_EQ(rig.settings.Count(kAvg) + rig.settings.Count(kRev), n);
  EXPECT_NEAR(rig.settings.Count(kAvg), rig.settings.Count(kRev), 1);
  EXPECT_NEAR(rig.settings.Average(kAvg), config.signals.forwardDbm, 1.0);
  EXPECT_TRUE(rig.link.SetLoggingRun(0));
  EXPECT_TRUE(rig.link.ClearLoggingMemory());
}

TEST(SimExchange, InjectedFaultsNeverHangAndNeverDeliverAWrongValue) {
  auto config = sim::SimConfig::ForModel(model::kPX430B);
  config.signals.noiseDb = 0.0;
  config.faults.dropShare = 0.2;
  config.faults.corruptShare = 0.2;
  config.faults.delayMs = 600;  // later than the 500 ms a request allows
  config.faults.delayShare = 0.1;
  config.faults.seed = 7;
  LoopbackRig rig(config);
  // Identification may itself meet a fault; the link then refuses cleanly.
  int code = -3;
  for (int attempt = 0; attempt < 20 && code != 0; ++attempt) {
    code = rig.link.Connect(-1);
    ASSERT_TRUE(code == 0 || code == -3) << code;
  }
  ASSERT_EQ(code, 0);
  const int forward = Centi(config.signals.forwardDbm);
  int good = 0;
  int failed = 0;
  for (int i = 0; i < 40; ++i) {
    const auto call = rig.Ask(RequestKind::Average);
    if (call.status == 1) {
      // A corrupted value byte cannot be told from a reading; any other
      // damage, and every late or dropped reply, must give status 0.
      ++good;
      if (std::abs(call.values[0] - forward) > 2) ++failed;
    } else {
      EXPECT_EQ(call.values[0], -1);
    }
  }
  EXPECT_GT(good, 12);
  EXPECT_LE(failed, 5);  // only the corrupted value bytes, a share of 0.2 × 4/9
  const auto start = Clock::now();
  rig.link.Disconnect();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
}

TEST(SimExchange, HangUpAndSlowSensorOverRealTransports) {
  test::SimHarness harness;
  // A CCDF sensor that answers [GK] only after a minute, on the two-pipe USB stand-in.
  auto slow = sim::SimConfig::ForModel(model::kPX470B);
  slow.firmwareVersion = 290;
  ::setenv("WATTRIX_USB_DRIVER", "vista", 1);
  auto* endpoint = harness.Start(sim::SimTransport::kUsbTwoPipe, slow);
  ASSERT_NE(endpoint, nullptr);
  SensorLink link;
  RecordingSink sink(&link);
  const auto to = std::make_shared<DeliveryHandle>(sink);
  const auto ask = [&](RequestKind kind) { return link.RequestMeasurement({kind, 240000, 500, 0}, to); };
  ASSERT_EQ(link.Connect(-1), 0);
  EXPECT_EQ(link.ModelCode(), model::kPX470B);
  for (RequestKind kind : {RequestKind::Average, RequestKind::Peak, RequestKind::Pulse, RequestKind::Ccdf}) {
    ASSERT_TRUE(ask(kind));
    ASSERT_TRUE(sink.WaitFor(sink.Calls().size() + 1, 60000));
    EXPECT_EQ(sink.Calls().back().status, 1) << static_cast<int>(kind);
  }
  // Disconnect while a CCDF block is still on its way.
  ASSERT_TRUE(ask(RequestKind::Ccdf));
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  auto start = Clock::now();
  link.Disconnect();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
  ::unsetenv("WATTRIX_USB_DRIVER");

  // A sensor on a pty (COM port) that hangs up after three exchanges:
  // identification works, the measurement after it fails cleanly.
  auto hanging = sim::SimConfig::ForModel(model::kPX430A);
  hanging.faults.hangUpAfter = 4;
  auto* com = harness.Start(sim::SimTransport::kSerial, hanging);
  ASSERT_NE(com, nullptr);
  ASSERT_EQ(link.Connect(com->PortNumber()), 0);
  EXPECT_EQ(link.ModelCode(), model::kPX430A);
  auto before = sink.Calls().size();
  ASSERT_TRUE(ask(RequestKind::Average));
  ASSERT_TRUE(sink.WaitFor(before + 1, 10000));
  EXPECT_EQ(sink.Calls().back().status, 1);
  // The sensor hangs up right after that answer. Depending on whether the
  // link has already seen the line go, the next request is refused or it
  // is answered as a failure; never with a value.
  before = sink.Calls().size();
  if (ask(RequestKind::Average)) {
    ASSERT_TRUE(sink.WaitFor(before + 1, 10000));
    EXPECT_EQ(sink.Calls().back().status, 0);
    EXPECT_EQ(sink.Calls().back().values[0], -1);
  }
  // The hang-up is the line gone: nothing more is asked.
  EXPECT_TRUE(link.LineLost());
  EXPECT_FALSE(link.IsConnected());
  EXPECT_FALSE(ask(RequestKind::Average));
  start = Clock::now();
  link.Disconnect();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
  to->Revoke();
}

}  // namespace
}  // namespace wattrix
