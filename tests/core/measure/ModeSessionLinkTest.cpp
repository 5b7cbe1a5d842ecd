// The live window's logic driving the real link: the requests each model's
// window asks for, the start commands, failed answers, and whole runs
// against the simulated sensor with faults injected. The acquisition
// thread delivers through a DeliveryQueue, as in the command-line tool.
#include "core/device/DeliveryQueue.h"
#include "core/device/LinkFixture.h"
#include "core/measure/ModeSession.h"
#include "core/measure/SessionRecorders.h"
#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/SensorModel.h"
#include "sim/SimLoopbackDevice.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>

namespace wattrix {
namespace {

using Clock = std::chrono::steady_clock;
using Strings = std::vector<std::string>;
using test::Bytes;
using test::ScriptedSensor;

// Each connection attempt meets a sensor with the next seed, so that one
// whose identification replies were dropped is followed by another.
TransportFactory SimFactory(sim::SimConfig config) {
  auto attempt = std::make_shared<int>(0);
  return [config, attempt](int) mutable {
    config.faults.seed += static_cast<std::uint64_t>((*attempt)++);
    return std::unique_ptr<CPowerDevice>(std::make_unique<sim::SimLoopbackDevice>(config));
  };
}

// A connected link with a live window's logic registered behind a
// delivery queue, and the owner's loop that ticks and dispatches.
struct LiveRig : test::LinkRig {
  LiveRig(LiveWindowKind view, int modelCode, TransportFactory factory = {})
      : LinkRig(FindModelByCode(modelCode)->deviceCode), session(view, settings, link, host) {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/" + strings::kFileName);
    settings.SetSettingsDirectory(dir.Path());
    if (factory) link.SetTransportFactory(factory);
    Wire().SetTimeScale(0.01);
    int connected = link.Connect(1);
    for (int i = 0; factory && connected != 0 && i < 10; ++i) connected = link.Connect(1);
    EXPECT_EQ(connected, 0);
    settings.SetDevice(modelCode, link.SerialNumber(), link.FirmwareVersion());
    session.SetPanels({&panels[0], &panels[1], &panels[2], &panels[3]});
    session.Reinitialise();
    to = std::make_shared<DeliveryHandle>(queue);
    session.SetAddressee(to);
  }
  ~LiveRig() {
    session.Close();
    to->Revoke();
    link.Disconnect();
    strings::SetStringTablePath("");
  }

  // The 20 ms timer and the deliveries until `done` or `ms` passed; the
  // number of deliveries handled.
  // The 20 ms timer and the deliveries until `done(deliveries handled)`
  // or `ms` passed; the number of deliveries handled.
  template <typename Done>
  int RunUntil(Done done, int ms = 10000) {
    int handled = 0;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (!done(handled) && Clock::now() < end) {
      session.Tick();
      handled += queue.Dispatch(session, ModeSession::kTimerIntervalMs);
    }
    EXPECT_TRUE(done(handled)) << "gave up after " << ms << " ms";
    return handled;
  }
  int RunDeliveries(int count) {
    return RunUntil([count](int handled) { return handled >= count; });
  }
  // Measurement commands written since the last ClearLog.
  Strings Requests() {
    Strings out;
    for (const auto& c : Commands()) {
      if (c[0] == 'G') out.push_back(c);
    }
    return out;
  }

  test::TempDir dir;
  test::RecordingHost host;
  std::array<test::RecordingPanel, 4> panels;
  ModeSession session;
  DeliveryQueue queue;
  std::shared_ptr<DeliveryHandle> to;
};

TEST(ModeSessionLink, RequestCyclesPerModel) {
  struct Case {
    LiveWindowKind view;
    int model;
    Strings requests;
  };
  const std::vector<Case> cases{
      {LiveWindowKind::Measurement, model::kPX420A, {"GA", "GF", "GR", "GA", "GF", "GR"}},
      {LiveWindowKind::Measurement, model::kPX440A, {"GA", "GF", "GR", "GA"}},
      {LiveWindowKind::Measurement, model::kPX470A, {"GA", "GF", "GA", "GF"}},
      {LiveWindowKind::Measurement, model::kPX470B, {"GA", "GF", "GA"}},
      {LiveWindowKind::Measurement, model::kPX450B, {"GF", "GF", "GF"}},
      {LiveWindowKind::Measurement, model::kPX420B, {"GE", "GP", "GE", "GP"}},
      {LiveWindowKind::Measurement, model::kPX430A, {"GA", "GA", "GA"}},
      {LiveWindowKind::Pulse, model::kPX420B, {"GU", "GU", "GU"}},
  };
  for (const auto& c : cases) {
    LiveRig rig(c.view, c.model);
    rig.settings.SetFrequency(1234.5678f);
    rig.session.Start();
    rig.Wire().ClearLog();
    // Nothing is asked for before the timer runs, nor while one request is out.
    rig.RunDeliveries(static_cast<int>(c.requests.size()));
    EXPECT_EQ(rig.Requests(), c.requests) << c.model;
    EXPECT_EQ(test::FrameParameter(rig.Wire().Writes().front()), 123456) << c.model;
  }
  // Stopped: the timer asks nothing.
  LiveRig rig(LiveWindowKind::Measurement, model::kPX430A);
  rig.Wire().ClearLog();
  rig.session.Tick();
  EXPECT_FALSE(rig.link.BusyFlag());
  EXPECT_TRUE(rig.Requests().empty());
}

TEST(ModeSessionLink, StartCommandsPerWindowAndModel) {
  const std::vector<std::pair<int, Strings>> measurement{
      {model::kPX420B, {"ST", "SN", "SZ", "SO"}},
      {model::kPX430B, {"SZ"}},
      {model::kPX470B, {"SZ"}},
      {model::kPX420A, {}},
      {model::kPX450A, {}},
  };
  for (const auto& [code, commands] : measurement) {
    LiveRig rig(LiveWindowKind::Measurement, code);
    rig.Wire().ClearLog();
    rig.session.Start();
    EXPECT_EQ(rig.Commands(), commands) << code;
    EXPECT_NE(rig.settings.StartTime(), 0) << code;
  }

  // Pulse on the PX420B checks the direction and warns with both levels.
  {
    LiveRig rig(LiveWindowKind::Pulse, model::kPX420B);
    const std::string warning = strings::GetString("S_SETTING_WARNING_POWER");
    ASSERT_FALSE(warning.empty());
    rig.sensor.average = 1000;
    rig.sensor.reverse = 3000;
    rig.Wire().ClearLog();
    rig.session.Start();
    EXPECT_EQ(rig.Commands(), (Strings{"SU", "SR", "GE"}));
    EXPECT_EQ(rig.host.warnings, (Strings{warning + " (Avg:1000, Rev:3000)"}));
    EXPECT_NE(rig.settings.StartTime(), 0);
  }
  {
    LiveRig rig(LiveWindowKind::Pulse, model::kPX470B);
    rig.Wire().ClearLog();
    rig.session.Start();
    EXPECT_EQ(rig.Commands(), (Strings{"SU", "SR"}));
    EXPECT_TRUE(rig.host.warnings.empty());
  }
  // Averaging not acknowledged: measuring, but the start is not marked.
  {
    LiveRig rig(LiveWindowKind::Pulse, model::kPX420B);
    rig.sensor.SetOverride("SU", [](const Bytes&) { return std::nullopt; });
    rig.session.Start();
    EXPECT_TRUE(rig.session.Measuring());
    EXPECT_EQ(rig.settings.StartTime(), 0);
  }
}

TEST(ModeSessionLink, FailedAnswersAreAskedForAgainAndStoreNothing) {
  LiveRig rig(LiveWindowKind::Measurement, model::kPX430A);
  int silent = 2;
  rig.sensor.SetOverride("GA", [&silent](const Bytes&) -> std::optional<ScriptedSensor::Answer> {
    if (silent-- > 0) return std::nullopt;
    return ScriptedSensor::Answer{test::SingleReply('P', 4000)};
  });
  rig.session.Start();
  rig.Wire().ClearLog();
  rig.RunUntil([&](int) { return rig.settings.Count(kAvg) == 2; });
  // Each failed exchange is followed by the marker query that brings the
  // link back in step.
  EXPECT_EQ(rig.Requests(), (Strings{"GA", "GD", "GA", "GD", "GA", "GA"}));
  EXPECT_FLOAT_EQ(rig.settings.Min(kAvg), 40.0f);
  EXPECT_FLOAT_EQ(rig.settings.Max(kAvg), 40.0f);
  EXPECT_TRUE(rig.session.Measuring());
}

TEST(ModeSessionLink, WholeRunsAgainstTheSimulatedSensor) {
  // Directional sensor, a quarter of the replies dropped: nothing wrong is stored.
  {
    auto config = sim::SimConfig::ForModel(model::kPX420B);
    config.signals.noiseDb = 0;
    config.faults.dropShare = 0.25;
    config.faults.seed = 7;
    LiveRig rig(LiveWindowKind::Measurement, model::kPX420B, SimFactory(config));
    rig.session.Start();
    const int handled = rig.RunUntil([&](int) { return rig.settings.Count(kAvg) >= 8; }, 30000);
    auto& s = rig.settings;
    EXPECT_GT(handled, 2 * s.Count(kAvg) - 1);  // peaks in between, and failed answers
    EXPECT_NEAR(s.Min(kAvg), 40.0, 0.011);
    EXPECT_NEAR(s.Max(kAvg), 40.0, 0.011);
    EXPECT_EQ(s.Count(kRev), s.Count(kAvg));
    EXPECT_NEAR(s.Min(kVswr), 1.5, 0.01);
    EXPECT_NEAR(s.Max(kVswr), 1.5, 0.01);
    EXPECT_NEAR(s.Max(kPeak), 43.0, 0.5);
    EXPECT_GT(s.Min(kPeak), 40.0);
  }
  // Corrupted replies: the run goes on; a frame that no longer parses stores
  // nothing (a changed value byte cannot be told from a reading).
  {
    auto config = sim::SimConfig::ForModel(model::kPX470A);
    config.signals.noiseDb = 0;
    config.faults.corruptShare = 0.3;
    config.faults.seed = 11;
    LiveRig rig(LiveWindowKind::Measurement, model::kPX470A, SimFactory(config));
    rig.session.Start();
    rig.RunUntil([&](int) { return rig.settings.Count(kAvg) >= 30; }, 30000);
    int count = 0;
    const float* readings = rig.settings.GetReadings(kAvg, count);
    int right = 0;
    for (int i = 0; i < count; ++i) right += std::fabs(readings[i] + 5.0f) < 0.011f;
    EXPECT_GE(right, count * 3 / 4);
    EXPECT_EQ(rig.settings.Count(kVswr), rig.settings.Count(kPeak));  // PAR with every peak
  }
  // Pulse window.
  {
    auto config = sim::SimConfig::ForModel(model::kPX420B);
    config.signals.noiseDb = 0;
    LiveRig rig(LiveWindowKind::Pulse, model::kPX420B, SimFactory(config));
    rig.session.Start();
    rig.RunUntil([&](int) { return rig.settings.Count(kPulse) >= 3; });
    EXPECT_NEAR(rig.settings.LastReading(kPulse), 40.0, 0.05);
    EXPECT_NEAR(rig.settings.DutyCycle(), 25.0, 0.5);
    EXPECT_NEAR(rig.settings.BurstWidth(), 577.0, 577.0 * 0.03);
  }
  // Single sweep: one answer, then the timer asks nothing more.
  {
    auto config = sim::SimConfig::ForModel(model::kPX430B);
    LiveRig rig(LiveWindowKind::Measurement, model::kPX430B, SimFactory(config));
    rig.settings.SetSingleSweep(true);
    rig.session.Start();
    rig.RunUntil([&](int) { return !rig.session.Measuring(); });
    for (int i = 0; i < 5; ++i) {
      rig.session.Tick();
      rig.queue.Dispatch(rig.session, 5);
    }
    EXPECT_EQ(rig.settings.Count(kAvg), 1);
    EXPECT_FALSE(rig.link.BusyFlag());
  }
  // The sensor hangs up: the window keeps asking and stores nothing more.
  {
    auto config = sim::SimConfig::ForModel(model::kPX430A);
    config.faults.hangUpAfter = 6;  // three for the identification
    LiveRig rig(LiveWindowKind::Measurement, model::kPX430A, SimFactory(config));
    rig.session.Start();
    rig.RunDeliveries(8);
    EXPECT_EQ(rig.settings.Count(kAvg), 3);
    EXPECT_TRUE(rig.session.Measuring());
  }
}

}  // namespace
}  // namespace wattrix
