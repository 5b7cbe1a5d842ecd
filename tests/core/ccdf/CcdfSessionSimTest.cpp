// The CCDF window's logic against the simulated sensor in process: the
// request cycle on the link's acquisition thread, deliveries handed over
// to the test's thread as the command-line tool does it.
#include "core/ccdf/CcdfSession.h"
#include "core/ccdf/CcdfSessionHostRecorder.h"
#include "core/device/DeliveryQueue.h"
#include "core/device/SensorLink.h"
#include "core/measure/MeasurementSettings.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/SensorModel.h"
#include "sim/SimLoopbackDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

namespace wattrix {
namespace {

using Clock = std::chrono::steady_clock;

// Counts the deliveries on their way to the session.
class Counting final : public ReadingSink {
 public:
  explicit Counting(CcdfSession& session) : m_session(session) {}
  void OnReading(const Reading& reading) override {
    ++(reading.Answered() ? answered : failed);
    m_session.OnReading(reading);
  }
  int answered = 0;
  int failed = 0;

 private:
  CcdfSession& m_session;
};

struct SimRig {
  explicit SimRig(const sim::SimConfig& config) {
    link.SetTransportFactory([config](int) {
      return std::unique_ptr<CPowerDevice>(std::make_unique<sim::SimLoopbackDevice>(config));
    });
    session.SetAddressee(to);
  }
  ~SimRig() {
    to->Revoke();
    link.Disconnect();
  }
  bool Connect() {
    if (link.Connect(-1) != 0) return false;
    const SensorModel* row = FindModelByDeviceCode(link.DeviceCode());
    settings.SetModelCode(row ? row->modelCode : -1);
    return true;
  }
  // The window's timer and loop until `until` holds or 20 s passed.
  template <typename Done>
  bool Run(Done until) {
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (!until() && Clock::now() < deadline) {
      session.Tick();
      queue.Dispatch(counting, CcdfSession::kTimerIntervalMs);
    }
    return until();
  }

  MeasurementSettings settings;
  SensorLink link;
  DeliveryQueue queue;
  std::shared_ptr<DeliveryHandle> to = std::make_shared<DeliveryHandle>(queue);
  test::CcdfSessionHostRecorder host;
  CcdfSession session{settings, link, host};
  Counting counting{session};
};

sim::SimConfig Px420b() {
  auto config = sim::SimConfig::ForModel(model::kPX420B);
  config.signals.ccdfAverageDbm = 40.0;
  config.signals.ccdfPeakToAverageDb = 8.0;
  return config;
}

TEST(CcdfSessionSim, SweepsOfTheSimulatedSignalGiveItsDistribution) {
  SimRig rig(Px420b());
  ASSERT_TRUE(rig.Connect());
  rig.settings.SetCcdfRate(0);
  rig.settings.SetTechnology(1);  // WCDMA: the average carries −0.2 dB
  rig.settings.SetStartTime(0);

  CommandState state;
  rig.session.UpdateCommand(cmd::kMeasureStart, state);
  EXPECT_EQ(state, (CommandState{true, false}));
  ASSERT_TRUE(rig.session.OnCommand(cmd::kMeasureStart));
  rig.session.UpdateCommand(cmd::kMeasureStart, state);
  EXPECT_EQ(state, (CommandState{true, true}));
  // Technology acknowledged: the PX420B's direction check ran (forward above
  // reverse, so the pane is cleared) and the start was marked.
  ASSERT_EQ(rig.host.warnings.size(), 1u);
  EXPECT_EQ(rig.host.warnings[0], "");
  EXPECT_NE(rig.settings.StartTime(), 0);

  ASSERT_TRUE(rig.Run([&] { return rig.session.SweepsProcessed() >= 12; }));
  EXPECT_EQ(rig.counting.failed, 0);
  EXPECT_EQ(rig.session.Data().StoredSweeps(), 10);
  const auto& s = rig.session.Statistics();
  EXPECT_EQ(s.SampleTotal, 100000u);
  EXPECT_NEAR(s.AveragePower, 40.0 - 0.2, 0.3);
  // The simulated envelope puts its 0.01 % point 8 dB above the average;
  // the corrected average moves every relative level up by 0.2 dB.
  EXPECT_NEAR(s.LevelAt[3], 8.2, 0.8);
  EXPECT_NEAR(s.CrestFactor, s.LevelAt[3], 0.011);
  EXPECT_GT(s.LevelAt[0], 0.0);
  EXPECT_LT(s.LevelAt[0], s.LevelAt[1]);
  EXPECT_LE(s.LevelAt[3], s.LevelAt[4]);
  EXPECT_GT(s.ProbabilityAt[0], 0.01);
  EXPECT_LT(s.ProbabilityAt[0], 10.0);
  const auto& curve = rig.session.Data().CcdfCurve();
  ASSERT_GT(curve.size(), 100u);
  EXPECT_NEAR(curve.front().relativePower, s.CrestFactor, 1e-3);
  EXPECT_NEAR(curve.front().logProbability, -4.0, 0.05);
  for (std::size_t i = 1; i < curve.size(); ++i) {
    ASSERT_LT(curve[i].relativePower, curve[i - 1].relativePower) << i;
    ASSERT_GE(curve[i].logProbability, curve[i - 1].logProbability) << i;
  }

  rig.session.OnCommand(cmd::kMeasureStop);
  EXPECT_FALSE(rig.session.Running());
  EXPECT_NE(rig.settings.LastReadingTime(), 0);
  // Reset asks first; No keeps the data.
  rig.host.answer = false;
  rig.session.OnCommand(cmd::kMeasureReset);
  EXPECT_EQ(rig.host.questions, std::vector<std::string>{"S_MEASUREVIEW_ONMEASURERESET"});
  EXPECT_EQ(rig.session.Data().StoredSweeps(), 10);
  rig.host.answer = true;
  rig.session.OnCommand(cmd::kMeasureReset);
  EXPECT_EQ(rig.session.Data().StoredSweeps(), 0);
}

TEST(CcdfSessionSim, ReversedSensorWarnsAtStart) {
  auto config = Px420b();
  config.signals.forwardDbm = 10.0;
  config.signals.reverseDbm = 20.0;
  SimRig rig(config);
  ASSERT_TRUE(rig.Connect());
  rig.session.StartCcdf();
  ASSERT_EQ(rig.host.warnings.size(), 1u);
  EXPECT_NE(rig.host.warnings[0].find(" (Avg:"), std::string::npos);
  EXPECT_NE(rig.host.warnings[0].find(", Rev:"), std::string::npos);
}

TEST(CcdfSessionSim, AHungUpSensorKeepsTheWindowAskingAndStoresNothing) {
  auto config = Px420b();
  // Identification (3), technology and direction check (2), then three
  // sweeps of two exchanges each; the line drops after them.
  config.faults.hangUpAfter = 3 + 2 + 3 * 2;
  SimRig rig(config);
  ASSERT_TRUE(rig.Connect());
  rig.settings.SetCcdfRate(0);
  rig.session.StartCcdf();
  ASSERT_TRUE(rig.Run([&] { return rig.session.SweepsProcessed() >= 3; }));
  const auto total = rig.session.Statistics().SampleTotal;

  // Each failed exchange clears BusyFlag, so the window goes on asking.
  ASSERT_TRUE(rig.Run([&] { return rig.counting.failed >= 3; }));
  EXPECT_TRUE(rig.session.Running());
  EXPECT_EQ(rig.session.SweepsProcessed(), 3);
  EXPECT_EQ(rig.session.Data().StoredSweeps(), 3);
  EXPECT_EQ(rig.session.Statistics().SampleTotal, total);
  EXPECT_EQ(rig.host.refreshes, 3);
}

}  // namespace
}  // namespace wattrix
