// The live window's logic on its own: readings, limits, commands, panel
// arrangement and Save, with recording panels and host and a link that is
// not connected (the tests hand out BusyFlag as the link would).
#include "core/measure/ModeSession.h"

#include "core/device/SensorLink.h"
#include "core/device/TestReadings.h"
#include "core/history/HistoryFile.h"
#include "core/measure/MeasurementSettings.h"
#include "core/measure/SessionRecorders.h"
#include "core/platform/Beeper.h"
#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/SensorModel.h"
#include "support/Recorders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace wattrix {
namespace {

using test::RecordingHost;
using test::RecordingPanel;

constexpr double kVswr40to20 = 11.0 / 9.0 + 0.005;

struct SessionRig {
  SessionRig(LiveWindowKind view, int modelCode) {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/" + strings::kFileName);
    settings.SetSettingsDirectory(dir.Path());
    settings.SetModelCode(modelCode);
    settings.ApplyModelRanges(*FindModelByCode(modelCode));
    session = std::make_unique<ModeSession>(view, settings, link, host, &beeper);
    session->SetPanels({&panels[0], &panels[1], &panels[2], &panels[3]});
    session->Reinitialise();
  }
  ~SessionRig() { strings::SetStringTablePath(""); }

  // A delivery answers an outstanding request: BusyFlag is set.
  ModeSession& Asked() {
    link.SetBusyFlag(true);
    return *session;
  }
  void ClearRecords() {
    for (auto& p : panels) {
      p.refreshes.clear();
      p.relayouts = 0;
    }
    host = RecordingHost{};
    beeper.Clear();
  }
  CommandState State(int id) const {
    CommandState state;
    EXPECT_TRUE(session->UpdateCommand(id, state)) << id;
    return state;
  }

  test::TempDir dir;
  MeasurementSettings settings;
  SensorLink link;
  RecordingHost host;
  test::RecordingBeeper beeper;
  std::array<RecordingPanel, 4> panels;
  std::unique_ptr<ModeSession> session;
};

TEST(ModeSessionReadings, ReverseAverageAndPeakPaths) {
  SessionRig rig(LiveWindowKind::Measurement, model::kPX420A);
  auto& s = rig.settings;
  rig.Asked().OnReading(test::AverageReading(1, 4000));
  EXPECT_FALSE(rig.link.BusyFlag());
  rig.Asked().OnReading(test::ReverseReading(1, 2000));
  EXPECT_FLOAT_EQ(s.LastReading(kAvg), 40.0f);
  EXPECT_FLOAT_EQ(s.LastReading(kRev), 20.0f);
  EXPECT_NEAR(s.LastReading(kVswr), kVswr40to20, 1e-5);
  EXPECT_NEAR(s.LastReading(kVswr), 1.227, 1e-3);
  for (const auto& panel : rig.panels) EXPECT_EQ(panel.refreshes.back(), PanelRefresh::Values);
  EXPECT_EQ(rig.host.graphUpdates, 2);

  // Reverse at or above forward, and a forward power beyond ±100 dBm.
  rig.Asked().OnReading(test::AverageReading(1, 4000));
  rig.Asked().OnReading(test::ReverseReading(1, 4000));
  EXPECT_FLOAT_EQ(s.LastReading(kVswr), 65.0f);
  rig.Asked().OnReading(test::AverageReading(1, 4000));
  rig.Asked().OnReading(test::ReverseReading(1, 4500));
  EXPECT_FLOAT_EQ(s.LastReading(kVswr), 65.0f);
  rig.Asked().OnReading(test::AverageReading(1, 15000));
  rig.Asked().OnReading(test::ReverseReading(1, 2000));
  EXPECT_FLOAT_EQ(s.LastReading(kVswr), 65.0f);

  // The external offset moves every power; a peak of this model has no PAR.
  s.SetExternalOffset(-1.5f);
  rig.Asked().OnReading(test::AverageReading(1, 1000));
  rig.Asked().OnReading(test::PeakReading(1, 1234));
  EXPECT_FLOAT_EQ(s.LastReading(kAvg), 8.5f);
  EXPECT_FLOAT_EQ(s.LastReading(kPeak), 10.84f);
  EXPECT_EQ(s.Count(kVswr), 4);
}

TEST(ModeSessionReadings, ParOnThePx470A) {
  SessionRig rig(LiveWindowKind::Measurement, model::kPX470A);
  rig.Asked().OnReading(test::AverageReading(1, 400));
  rig.Asked().OnReading(test::PeakReading(1, 1000));
  EXPECT_FLOAT_EQ(rig.settings.LastReading(kPeak), 10.0f);
  EXPECT_FLOAT_EQ(rig.settings.LastReading(kVswr), 6.0f);
}

TEST(ModeSessionReadings, VswrAndParComeOnlyFromTheAverageOfTheSameCycle) {
  {
    // The cycle's average was lost: the reverse reading makes no VSWR
    // against an older average (or none), and is not stored without it.
    SessionRig rig(LiveWindowKind::Measurement, model::kPX420A);
    auto& s = rig.settings;
    rig.Asked().OnReading(test::ReverseReading(1, 2000));
    EXPECT_FALSE(rig.link.BusyFlag());
    EXPECT_EQ(s.Count(kVswr), 0);
    EXPECT_EQ(s.Count(kRev), 0);
    rig.Asked().OnReading(test::AverageReading(1, 4000));
    rig.Asked().OnReading(test::PeakReading(1, 4300));
    rig.Asked().OnReading(test::ReverseReading(1, 2000));
    EXPECT_NEAR(s.LastReading(kVswr), kVswr40to20, 1e-5);
    rig.Asked().OnReading(test::AverageReading(0, -1));
    rig.Asked().OnReading(test::PeakReading(1, 4300));
    rig.Asked().OnReading(test::ReverseReading(1, 2500));
    EXPECT_EQ(s.Count(kVswr), 1);
    EXPECT_EQ(s.Count(kRev), 1);
    EXPECT_EQ(rig.link.RejectedReplies(), 2u);
  }
  {
    SessionRig rig(LiveWindowKind::Measurement, model::kPX470A);
    rig.Asked().OnReading(test::PeakReading(1, 1000));
    EXPECT_EQ(rig.settings.Count(kPeak), 0);
    EXPECT_EQ(rig.settings.Count(kVswr), 0);
    rig.Asked().OnReading(test::AverageReading(1, 400));
    rig.Asked().OnReading(test::PeakReading(1, 1000));
    rig.Asked().OnReading(test::PeakReading(1, 1100));
    EXPECT_EQ(rig.settings.Count(kPeak), 1);
    EXPECT_FLOAT_EQ(rig.settings.LastReading(kVswr), 6.0f);
    EXPECT_FALSE(rig.link.BusyFlag());
  }
}

TEST(ModeSessionReadings, ForwardAndReverseWithTechnologyCorrections) {
  SessionRig rig(LiveWindowKind::Measurement, model::kPX420B);
  auto& s = rig.settings;
  const std::string warning = strings::GetString("S_SETTING_WARNING_POWER");
  ASSERT_FALSE(warning.empty());

  s.SetTechnology(7);
  for (float f : {100.0f, 500.0f, 2400.0f}) {
    s.SetFrequency(f);
    rig.Asked().OnReading(test::AverageReverseReading(1, 4000, 2000));
    EXPECT_FLOAT_EQ(s.LastReading(kAvg), 40.0f) << f;
    EXPECT_FLOAT_EQ(s.LastReading(kRev), 20.0f) << f;
  }
  EXPECT_NEAR(s.LastReading(kVswr), kVswr40to20, 1e-5);
  EXPECT_EQ(rig.host.warnings.back(), "");

  // LTE-TDD above 1000 MHz: 1.3 dB off both; VSWR from the raw difference.
  s.SetTechnology(0);
  s.SetExternalOffset(0.5f);
  rig.Asked().OnReading(test::AverageReverseReading(1, 4000, 2000));
  EXPECT_NEAR(s.LastReading(kAvg), 39.2, 1e-4);
  EXPECT_NEAR(s.LastReading(kRev), 19.2, 1e-4);
  EXPECT_NEAR(s.LastReading(kVswr), kVswr40to20, 1e-5);

  // The sensor the wrong way round.
  rig.Asked().OnReading(test::AverageReverseReading(1, 1000, 3000));
  EXPECT_EQ(rig.host.warnings.back(), warning);
  EXPECT_FLOAT_EQ(s.LastReading(kVswr), 65.0f);
  rig.Asked().OnReading(test::AverageReverseReading(1, 3000, 1000));
  EXPECT_EQ(rig.host.warnings.back(), "");
}

TEST(ModeSessionReadings, PulseCorrectionDutyCycleAndBurstWidth) {
  SessionRig rig(LiveWindowKind::Pulse, model::kPX420B);
  auto& s = rig.settings;
  s.SetTechnology(0);
  s.SetFrequency(2400);
  rig.Asked().OnReading(test::PulseReading(1, 4000, 10, 40, 20, 1));
  EXPECT_NEAR(s.LastReading(kPulse), 40 - 1.5 - 0.45, 1e-4);
  EXPECT_FLOAT_EQ(s.DutyCycle(), 25.0f);
  EXPECT_NEAR(s.BurstWidth(), 0.5 * 1.207, 1e-5);

  s.SetTechnology(7);
  s.SetPulseDuty(500);
  rig.Asked().OnReading(test::PulseReading(1, 4000, 0, 0, 0, 16));
  EXPECT_FLOAT_EQ(s.LastReading(kPulse), 40.0f);
  EXPECT_FLOAT_EQ(s.DutyCycle(), 50.0f);
  EXPECT_TRUE(std::isnan(s.BurstWidth()));
  s.SetPulseDuty(0);
  rig.Asked().OnReading(test::PulseReading(1, 4000, 0, 0, 5, 16));
  EXPECT_TRUE(std::isnan(s.DutyCycle()));
  EXPECT_FLOAT_EQ(s.BurstWidth(), 0.0f);
}

TEST(ModeSessionReadings, FailedStaleAndSingleSweepAnswers) {
  SessionRig rig(LiveWindowKind::Measurement, model::kPX420A);
  auto& s = rig.settings;
  rig.session->Start();
  rig.ClearRecords();

  // A failed answer stores nothing but frees the next request.
  rig.Asked().OnReading(test::AverageReading(0, -1));
  rig.Asked().OnReading(test::ReverseReading(0, -1));
  rig.Asked().OnReading(test::PeakReading(3, 1234));
  EXPECT_FALSE(rig.link.BusyFlag());
  for (const Quantity q : HistoryQuantities()) EXPECT_EQ(s.Count(q), 0) << Index(q);
  EXPECT_TRUE(rig.panels[0].refreshes.empty());
  EXPECT_EQ(rig.host.graphUpdates, 0);

  // An answer nobody waits for any more is dropped.
  rig.link.SetBusyFlag(false);
  rig.session->OnReading(test::AverageReading(1, 4000));
  EXPECT_EQ(s.Count(kAvg), 0);

  // Single sweep: a failed answer does not end it, the first stored one does.
  s.SetSingleSweep(true);
  rig.Asked().OnReading(test::AverageReading(0, -1));
  EXPECT_TRUE(rig.session->Measuring());
  rig.Asked().OnReading(test::AverageReading(1, 4000));
  EXPECT_FALSE(rig.session->Measuring());
  EXPECT_EQ(s.Count(kAvg), 1);
  EXPECT_NE(s.LastReadingTime(), 0);
}

TEST(ModeSessionLimits, BeepsAndRedPanelsFollowTheReadings) {
  SessionRig rig(LiveWindowKind::Measurement, model::kPX420A);
  auto& s = rig.settings;
  s.SetLimits(kAvg, 0, 10);
  s.SetLimitCheck(kAvg, true);
  s.SetBeepAlarm(kAvg, true);
  s.SetBeepKind(kAvg, 2);
  for (int power : {0, 1000}) {
    rig.Asked().OnReading(test::AverageReading(1, power));
    EXPECT_FALSE(rig.panels[1].alarm) << power;
  }
  EXPECT_TRUE(rig.beeper.Beeps().empty());
  for (int power : {-1, 1001}) {
    rig.Asked().OnReading(test::AverageReading(1, power));
    EXPECT_TRUE(rig.panels[1].alarm) << power;
    EXPECT_TRUE(rig.panels[0].alarm) << power;  // the main panel shows AVG too
    EXPECT_FALSE(rig.panels[3].alarm);
  }
  EXPECT_EQ(rig.beeper.Beeps(), (std::vector<unsigned>{beep::kExclamation, beep::kExclamation}));
  rig.Asked().OnReading(test::AverageReading(1, 500));
  EXPECT_FALSE(rig.panels[1].alarm);
  EXPECT_FALSE(rig.panels[0].alarm);

  // Limit check without the alarm: no beep, no red.
  s.SetBeepAlarm(kAvg, false);
  rig.Asked().OnReading(test::AverageReading(1, 2000));
  EXPECT_FALSE(rig.panels[1].alarm);
  EXPECT_EQ(rig.beeper.Beeps().size(), 2u);

  // VSWR turns its own panel red, not the main one; reverse power is never checked.
  for (const Quantity q : {kVswr, kRev}) {
    s.SetLimits(q, 1, 1.1f);
    s.SetLimitCheck(q, true);
    s.SetBeepAlarm(q, true);
  }
  s.SetBeepKind(kVswr, 7);
  rig.Asked().OnReading(test::AverageReading(1, 4000));
  rig.Asked().OnReading(test::ReverseReading(1, 2000));
  EXPECT_TRUE(rig.panels[3].alarm);
  EXPECT_FALSE(rig.panels[0].alarm);
  EXPECT_EQ(rig.beeper.Beeps().back(), beep::kSimple);
  EXPECT_EQ(rig.beeper.Beeps().size(), 3u);
}

TEST(ModeSessionLimits, CommandsActOnTheSelectedPanelMarksShowTheMain) {
  SessionRig rig(LiveWindowKind::Measurement, model::kPX420A);
  auto& s = rig.settings;
  ASSERT_TRUE(rig.session->SelectPanel(3));
  rig.ClearRecords();
  ASSERT_TRUE(rig.session->OnCommand(cmd::kLimitCheckEnable));
  EXPECT_TRUE(s.LimitCheck(kVswr));
  EXPECT_FALSE(s.LimitCheck(kAvg));
  EXPECT_EQ(rig.panels[3].refreshes, (std::vector<PanelRefresh>{PanelRefresh::Limits}));
  EXPECT_EQ(rig.panels[3].relayouts, 1);
  EXPECT_TRUE(rig.panels[0].refreshes.empty());
  EXPECT_EQ(rig.host.graphUpdates, 0);  // the graph shows AVG
  EXPECT_EQ(rig.State(cmd::kLimitCheckEnable), (CommandState{true, false}));
  EXPECT_EQ(rig.State(cmd::kLimitCheckDisable), (CommandState{true, true}));

  rig.session->OnCommand(cmd::kAlarmOn);
  EXPECT_TRUE(s.BeepAlarm(kVswr));
  EXPECT_EQ(rig.State(cmd::kAlarmOn), (CommandState{true, false}));

  // On the main panel's quantity both panels showing it and the graph follow.
  rig.session->SelectPanel(1);
  rig.ClearRecords();
  rig.session->OnCommand(cmd::kLimitCheckEnable);
  EXPECT_EQ(rig.panels[0].relayouts + rig.panels[1].relayouts, 2);
  EXPECT_EQ(rig.host.graphUpdates, 1);
  EXPECT_EQ(rig.State(cmd::kLimitCheckEnable), (CommandState{true, true}));
}

TEST(ModeSessionView, ReinitialisePerModelAndView) {
  SessionRig peak(LiveWindowKind::Measurement, model::kPX450A);
  EXPECT_EQ(peak.session->SelectedPanel(), 2);
  EXPECT_EQ(peak.session->MainQuantity(), kPeak);
  EXPECT_EQ(peak.panels[0].quantity, kPeak);
  EXPECT_EQ(peak.host.graphQuantity, kPeak);
  EXPECT_EQ(peak.host.graphModel, model::kPX450A);
  EXPECT_TRUE(peak.session->GraphShown());
  EXPECT_EQ(peak.session->RequestState(), RequestKind::Peak);
  EXPECT_EQ(peak.session->FirstQuantity(), kPeak);

  SessionRig avgPeak(LiveWindowKind::Measurement, model::kPX420B);
  EXPECT_EQ(avgPeak.session->SelectedPanel(), 1);
  EXPECT_EQ(avgPeak.session->MainQuantity(), kAvg);
  EXPECT_FALSE(avgPeak.session->GraphShown());
  EXPECT_EQ(avgPeak.session->RequestState(), RequestKind::AverageReverse);
  const std::array<Quantity, 4> quantities{kAvg, kAvg, kPeak, kVswr};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(avgPeak.panels[i].quantity, quantities[i]);
    EXPECT_EQ(avgPeak.panels[i].layout, i == 0 ? 0 : 1);
    EXPECT_EQ(avgPeak.panels[i].refreshes.front(), PanelRefresh::All);
  }

  SessionRig pulse(LiveWindowKind::Pulse, model::kPX470B);
  const std::array<Quantity, 4> pulseQuantities{kPulse, kPulse, kPeak, kVswr};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(pulse.panels[i].quantity, pulseQuantities[i]);
  EXPECT_EQ(pulse.panels[0].layout, 0);
  EXPECT_TRUE(pulse.session->GraphShown());
  EXPECT_EQ(pulse.session->RequestState(), RequestKind::Pulse);
  EXPECT_EQ(pulse.session->SelectedPanel(), 1);
  // Peak and PAR are not selectable in this model's pulse window.
  EXPECT_FALSE(pulse.session->SelectPanel(2));
}

// A low, wide window (one of two tiled one above the other) puts the
// panels side by side instead of in two rows too low to read.
TEST(ModeSessionView, ArrangementOfALowWideWindowIsOneRow) {
  SessionRig rig(LiveWindowKind::Measurement, model::kPX420A);
  using Rect = ModeArrangement::Rect;
  auto a = rig.session->Arrangement(800, 205);
  EXPECT_EQ(a.panels[0], (Rect{1, 1, 198, 203}));
  EXPECT_EQ(a.panels[1], (Rect{200, 1, 199, 203}));
  EXPECT_EQ(a.panels[2], (Rect{400, 1, 199, 203}));
  EXPECT_EQ(a.panels[3], (Rect{600, 1, 199, 203}));
  EXPECT_FALSE(a.graph.Visible());
  // High enough for two rows of 150: the grid.
  a = rig.session->Arrangement(800, 305);
  EXPECT_EQ(a.panels[2], (Rect{1, 153, 398, 151}));

  // The graph takes the place of the two other panels.
  rig.session->OnCommand(cmd::kViewHistoryGraph);
  a = rig.session->Arrangement(800, 205);
  EXPECT_EQ(a.graph, (Rect{400, 1, 399, 203}));
  EXPECT_TRUE(a.panels[0].Visible());
  EXPECT_EQ(a.panels[1], (Rect{200, 1, 199, 203}));
  EXPECT_FALSE(a.panels[2].Visible());
  EXPECT_FALSE(a.panels[3].Visible());
}

TEST(ModeSessionView, ArrangementOfTheGrid) {
  SessionRig rig(LiveWindowKind::Measurement, model::kPX420A);
  using Rect = ModeArrangement::Rect;
  // 200 × 100: e = 98, c = 48.
  auto a = rig.session->Arrangement(200, 100);
  EXPECT_EQ(a.panels[0], (Rect{1, 1, 98, 48}));
  EXPECT_EQ(a.panels[1], (Rect{100, 1, 99, 48}));
  EXPECT_EQ(a.panels[2], (Rect{1, 50, 98, 49}));
  EXPECT_EQ(a.panels[3], (Rect{100, 50, 99, 49}));
  EXPECT_FALSE(a.graph.Visible());

  // Main PEAK: its small panel moves to the top right.
  rig.session->SelectPanel(2);
  rig.session->OnCommand(cmd::kSetAsDefault);
  a = rig.session->Arrangement(200, 100);
  EXPECT_EQ(a.panels[2], (Rect{100, 1, 99, 48}));
  EXPECT_EQ(a.panels[1], (Rect{1, 50, 98, 49}));
  EXPECT_EQ(a.panels[3], (Rect{100, 50, 99, 49}));

  // The graph takes the lower part across the width.
  rig.session->OnCommand(cmd::kViewHistoryGraph);
  a = rig.session->Arrangement(200, 100);
  EXPECT_EQ(a.graph, (Rect{1, 50, 198, 49}));
  EXPECT_FALSE(a.panels[1].Visible());
  EXPECT_FALSE(a.panels[3].Visible());
  EXPECT_TRUE(a.panels[2].Visible());
  // A hidden panel cannot be clicked.
  EXPECT_FALSE(rig.session->SelectPanel(3));

  rig.session->OnCommand(cmd::kViewFullScreen);
  a = rig.session->Arrangement(200, 100);
  EXPECT_EQ(a.panels[2], (Rect{0, 0, 200, 100}));
  for (int i : {0, 1, 3}) EXPECT_FALSE(a.panels[i].Visible());
  EXPECT_FALSE(a.graph.Visible());
}

TEST(ModeSessionView, SetAsDefaultFullScreenMultiScreenAndGraph) {
  SessionRig rig(LiveWindowKind::Measurement, model::kPX420A);
  auto& session = *rig.session;
  EXPECT_FALSE(rig.State(cmd::kSetAsDefault).enabled);
  ASSERT_TRUE(session.SelectPanel(3));
  EXPECT_FALSE(session.SelectPanel(3));
  EXPECT_TRUE(rig.State(cmd::kSetAsDefault).enabled);
  // Panel 3 red, as after a VSWR reading out of limit: panel 0 takes that over.
  rig.settings.SetLimitCheck(kVswr, true);
  rig.settings.SetBeepAlarm(kVswr, true);
  rig.settings.SetLimits(kVswr, 1, 1.1f);
  EXPECT_TRUE(session.ShowLimitState(kVswr, 1.5f));
  EXPECT_FALSE(rig.panels[0].alarm);
  rig.ClearRecords();
  session.OnCommand(cmd::kSetAsDefault);
  EXPECT_EQ(session.MainQuantity(), kVswr);
  EXPECT_EQ(rig.panels[0].quantity, kVswr);
  EXPECT_TRUE(rig.panels[0].alarm);
  EXPECT_EQ(rig.host.graphQuantity, kVswr);
  EXPECT_EQ(rig.panels[0].refreshes, (std::vector<PanelRefresh>{PanelRefresh::All}));
  EXPECT_EQ(rig.host.relayouts, 1);
  EXPECT_FALSE(rig.State(cmd::kSetAsDefault).enabled);
  // No relative display of VSWR.
  EXPECT_FALSE(rig.State(cmd::kModeRelative).enabled);

  // Full screen of the selected small panel, and back.
  session.SelectPanel(2);
  session.OnCommand(cmd::kViewFullScreen);
  EXPECT_EQ(session.FullScreenPanel(), 2);
  EXPECT_EQ(rig.panels[2].layout, 2);
  EXPECT_EQ(session.MainQuantity(), kPeak);
  EXPECT_EQ(rig.host.graphQuantity, kPeak);
  EXPECT_FALSE(session.GraphShown());
  EXPECT_EQ(rig.State(cmd::kViewFullScreen), (CommandState{true, true}));
  session.OnCommand(cmd::kViewMultiScreen);
  EXPECT_EQ(session.FullScreenPanel(), -1);
  EXPECT_EQ(rig.panels[2].layout, 1);
  EXPECT_FALSE(session.GraphShown());  // hidden by default on this model

  // The graph command: shown, hidden, and from full screen back with the graph.
  EXPECT_EQ(rig.State(cmd::kViewHistoryGraph), (CommandState{true, false}));
  session.OnCommand(cmd::kViewHistoryGraph);
  EXPECT_TRUE(session.GraphShown());
  session.OnCommand(cmd::kViewHistoryGraph);
  EXPECT_FALSE(session.GraphShown());
  session.OnCommand(cmd::kViewFullScreen);
  session.OnCommand(cmd::kViewHistoryGraph);
  EXPECT_EQ(session.FullScreenPanel(), -1);
  EXPECT_TRUE(session.GraphShown());

  // Double clicks: a small panel of another quantity becomes the main one;
  // the main panel goes full screen; in full screen back to the grid.
  session.OnCommand(cmd::kViewHistoryGraph);
  session.DoubleClickPanel(3);
  EXPECT_EQ(session.MainQuantity(), kVswr);
  EXPECT_EQ(session.FullScreenPanel(), -1);
  session.DoubleClickPanel(0);
  EXPECT_EQ(session.FullScreenPanel(), 0);
  EXPECT_EQ(rig.panels[0].layout, 0);
  session.DoubleClickPanel(0);
  EXPECT_EQ(session.FullScreenPanel(), -1);

  // A model without the panel's quantity ignores clicks on it.
  SessionRig avgOnly(LiveWindowKind::Measurement, model::kPX430A);
  EXPECT_FALSE(avgOnly.session->SelectPanel(2));
  avgOnly.session->DoubleClickPanel(3);
  EXPECT_EQ(avgOnly.session->MainQuantity(), kAvg);
  EXPECT_FALSE(avgOnly.State(cmd::kViewHistoryGraph).enabled);
}

TEST(ModeSessionView, RelativeDisplayRefreshesAndRelaysAllPanels) {
  SessionRig rig(LiveWindowKind::Measurement, model::kPX420A);
  EXPECT_EQ(rig.State(cmd::kModeAbsolute), (CommandState{true, true}));
  rig.ClearRecords();
  rig.session->OnCommand(cmd::kModeRelative);
  EXPECT_TRUE(rig.settings.Relative());
  for (const auto& panel : rig.panels) {
    EXPECT_EQ(panel.refreshes, (std::vector<PanelRefresh>{PanelRefresh::All}));
    EXPECT_EQ(panel.relayouts, 1);
  }
  rig.session->OnCommand(cmd::kModeRelative);
  EXPECT_EQ(rig.panels[0].relayouts, 1);
  EXPECT_EQ(rig.State(cmd::kModeRelative), (CommandState{true, true}));
}

TEST(ModeSessionRun, StartStopResetAndSave) {
  SessionRig rig(LiveWindowKind::Measurement, model::kPX420A);
  auto& s = rig.settings;
  auto& session = *rig.session;
  // Not connected: the measurement commands are greyed out.
  EXPECT_EQ(rig.State(cmd::kMeasureStart), (CommandState{false, false}));
  EXPECT_FALSE(session.CanSave());

  rig.link.SetBusyFlag(true);
  session.Start();
  EXPECT_TRUE(session.Measuring());
  EXPECT_TRUE(session.Unsaved());
  EXPECT_FALSE(rig.link.BusyFlag());
  EXPECT_NE(s.StartTime(), 0);
  EXPECT_TRUE(rig.host.questions.empty());  // nothing to save yet
  for (int power : {4000, 4010, 3990}) {
    rig.Asked().OnReading(test::AverageReading(1, power));
    rig.Asked().OnReading(test::PeakReading(1, power + 300));
    rig.Asked().OnReading(test::ReverseReading(1, 2000));
  }
  EXPECT_FALSE(session.CanSave());  // still measuring
  session.OnCommand(cmd::kMeasureStop);
  EXPECT_FALSE(session.Measuring());
  EXPECT_TRUE(session.CanSave());
  EXPECT_TRUE(rig.State(cmd::kFileSave).enabled);

  // A failed write keeps the run unsaved.
  EXPECT_FALSE(session.SaveTo(rig.dir.File("missing/run.psh")));
  EXPECT_TRUE(session.CanSave());

  const auto path = rig.dir.File("run.psh");
  ASSERT_TRUE(session.SaveTo(path));
  EXPECT_EQ(session.SavedPath(), path);
  EXPECT_FALSE(session.CanSave());
  HistoryHeader header;
  std::vector<std::int32_t> points;
  std::size_t count = 0;
  ASSERT_TRUE(ReadHistoryFile(path, header, points, count));
  EXPECT_EQ(header.Mask().Bits(), 0x13);
  ASSERT_EQ(count, 3u);
  // Records hold AVG, VSWR, PEAK.
  EXPECT_EQ(points[0], 4000);
  EXPECT_EQ(points[1], 123);
  EXPECT_EQ(points[2], 4300);
  EXPECT_EQ(points[6], 3990);

  // A saved run is not asked about; an unsaved one is, and yes saves it.
  session.Start();
  EXPECT_TRUE(rig.host.questions.empty());
  EXPECT_EQ(s.Count(kAvg), 0);
  rig.Asked().OnReading(test::AverageReading(1, 4000));
  session.Stop();
  rig.host.answers = {true};
  rig.host.onSave = [&] { EXPECT_TRUE(session.SaveTo(rig.dir.File("second.psh"))); };
  session.Start();
  EXPECT_EQ(rig.host.questions, (std::vector<std::string>{"S_MEASUREVIEW_ONMEASURESTART"}));
  EXPECT_EQ(rig.host.saveCommands, 1);
  EXPECT_TRUE(session.Unsaved());
  EXPECT_TRUE(session.Measuring());

  // Reset asks; no keeps the readings.
  rig.Asked().OnReading(test::AverageReading(1, 4000));
  rig.host.answers = {false, true};
  session.OnCommand(cmd::kMeasureReset);
  EXPECT_EQ(s.Count(kAvg), 1);
  session.OnCommand(cmd::kMeasureReset);
  EXPECT_EQ(s.Count(kAvg), 0);
  EXPECT_EQ(rig.host.questions.back(), "S_MEASUREVIEW_ONMEASURERESET");
}

TEST(ModeSessionRun, ARunGivenUpForADownloadIsNeverDroppedWithoutAnAnswer) {
  SessionRig rig(LiveWindowKind::Measurement, model::kPX420A);
  auto& s = rig.settings;
  auto& session = *rig.session;
  constexpr const char* kKey = "S_SETTING_WARNING_DN_UNSAVED";
  using Host = test::RecordingHost;

  // Measuring without a reading yet: nothing to lose, but measuring stops.
  session.Start();
  EXPECT_TRUE(session.ReleaseRun(kKey));
  EXPECT_FALSE(session.Measuring());
  EXPECT_TRUE(rig.host.questions.empty());

  // Measuring with readings: cancel keeps the run and the measurement.
  session.Start();
  rig.Asked().OnReading(test::AverageReading(1, 4000));
  EXPECT_TRUE(session.HasUnsavedRun());
  rig.host.threeWayAnswers = {Host::kAnswerCancel};
  EXPECT_FALSE(session.ReleaseRun(kKey));
  EXPECT_TRUE(session.Measuring());
  EXPECT_EQ(s.Count(kAvg), 1);
  EXPECT_EQ(rig.host.questions, (std::vector<std::string>{kKey}));

  // Yes, but the file dialog is cancelled: the run stays (measuring stopped).
  rig.host.threeWayAnswers = {Host::kAnswerYes};
  EXPECT_FALSE(session.ReleaseRun(kKey));
  EXPECT_EQ(rig.host.saveCommands, 1);
  EXPECT_FALSE(session.Measuring());
  EXPECT_TRUE(session.HasUnsavedRun());

  // Yes and saved: released.
  rig.host.threeWayAnswers = {Host::kAnswerYes};
  rig.host.onSave = [&] { EXPECT_TRUE(session.SaveTo(rig.dir.File("kept.psh"))); };
  EXPECT_TRUE(session.ReleaseRun(kKey));
  EXPECT_FALSE(session.HasUnsavedRun());

  // A saved run is not asked about again.
  rig.host.questions.clear();
  EXPECT_TRUE(session.ReleaseRun(kKey));
  EXPECT_TRUE(rig.host.questions.empty());

  // No discards it; once replaced, the window holds no unsaved run and its
  // graph starts over.
  session.Start();
  rig.Asked().OnReading(test::AverageReading(1, 4000));
  session.Stop();
  rig.host.threeWayAnswers = {Host::kAnswerNo};
  rig.host.onSave = nullptr;
  EXPECT_TRUE(session.ReleaseRun(kKey));
  EXPECT_EQ(rig.host.saveCommands, 2);
  const int resets = rig.host.graphResets;
  s.ResetHistories();
  s.AddReading(kAvg, 12.5f);
  session.HistoriesReplaced();
  EXPECT_FALSE(session.HasUnsavedRun());
  EXPECT_FALSE(session.CanSave());
  EXPECT_EQ(rig.host.graphResets, resets + 1);
}

TEST(ModeSessionRun, CloseAsksSaveDiscardOrCancelOverAnUnsavedRun) {
  SessionRig rig(LiveWindowKind::Measurement, model::kPX420A);
  auto& s = rig.settings;
  auto& session = *rig.session;
  // No run, or a run without readings: nothing to ask.
  EXPECT_TRUE(session.ConfirmClose());
  session.Start();
  EXPECT_TRUE(session.ConfirmClose());
  EXPECT_TRUE(rig.host.questions.empty());

  // Cancel keeps everything: still measuring, readings and unsaved flag.
  for (int power : {4000, 4100}) {
    rig.Asked().OnReading(test::AverageReading(1, power));
    rig.Asked().OnReading(test::PeakReading(1, power + 300));
    rig.Asked().OnReading(test::ReverseReading(1, 2000));
  }
  EXPECT_TRUE(session.HasUnsavedRun());
  rig.host.threeWayAnswers = {mb::kIdCancel};
  EXPECT_FALSE(session.ConfirmClose());
  EXPECT_EQ(rig.host.questions, (std::vector<std::string>{"S_MEASUREVIEW_ONCLOSEUNSAVED"}));
  EXPECT_TRUE(session.Measuring());
  EXPECT_TRUE(session.Unsaved());
  EXPECT_EQ(s.Count(kAvg), 2);
  EXPECT_EQ(rig.host.saveCommands, 0);
  // Any other answer (a box closed some other way) keeps the window too.
  rig.host.threeWayAnswers = {mb::kIdOk};
  EXPECT_FALSE(session.ConfirmClose());

  // Yes while measuring: the run ends and is saved; a save that does not
  // happen (dialog cancelled, write failed) keeps the window and the run.
  rig.host.threeWayAnswers = {mb::kIdYes};
  EXPECT_FALSE(session.ConfirmClose());
  EXPECT_FALSE(session.Measuring());
  EXPECT_EQ(rig.host.saveCommands, 1);
  EXPECT_TRUE(session.HasUnsavedRun());
  EXPECT_EQ(s.Count(kAvg), 2);
  rig.host.threeWayAnswers = {mb::kIdYes};
  rig.host.onSave = [&] { EXPECT_FALSE(session.SaveTo(rig.dir.File("missing/run.psh"))); };
  EXPECT_FALSE(session.ConfirmClose());
  const auto path = rig.dir.File("closing.psh");
  rig.host.threeWayAnswers = {mb::kIdYes};
  rig.host.onSave = [&] { EXPECT_TRUE(session.SaveTo(path)); };
  EXPECT_TRUE(session.ConfirmClose());
  HistoryHeader header;
  std::vector<std::int32_t> points;
  std::size_t count = 0;
  ASSERT_TRUE(ReadHistoryFile(path, header, points, count));
  EXPECT_EQ(count, 2u);
  // Saved: closing asks nothing any more.
  const auto asked = rig.host.questions.size();
  EXPECT_TRUE(session.ConfirmClose());
  EXPECT_EQ(rig.host.questions.size(), asked);

  // No discards: the window may close, the readings are left as they are.
  rig.host.onSave = nullptr;
  session.Start();
  rig.Asked().OnReading(test::AverageReading(1, 4000));
  rig.host.threeWayAnswers = {mb::kIdNo};
  EXPECT_TRUE(session.ConfirmClose());
  EXPECT_EQ(rig.host.saveCommands, 3);
}

TEST(ModeSessionRun, ALostSensorStopsTheRunAndRefusesStartUntilItIsBack) {
  SessionRig rig(LiveWindowKind::Pulse, model::kPX420B);
  auto& session = *rig.session;
  session.Start();
  rig.Asked().OnReading(test::PulseReading(1, 3000, 0, 0, 0, 0));
  const int stored = rig.settings.Count(kPulse);
  ASSERT_GT(stored, 0);

  session.SensorLost();
  EXPECT_TRUE(session.IsSensorLost());
  EXPECT_FALSE(session.Measuring());
  // The run so far is kept and still counts as unsaved.
  EXPECT_TRUE(session.HasUnsavedRun());
  EXPECT_TRUE(session.CanSave());

  // Start is refused with the warning; nothing is asked, nothing cleared.
  session.OnCommand(cmd::kMeasureStart);
  EXPECT_FALSE(session.Measuring());
  EXPECT_EQ(rig.host.warningBoxes, (std::vector<std::string>{"S_MEASUREVIEW_ONSTARTSENSORLOST"}));
  EXPECT_TRUE(rig.host.questions.empty());
  EXPECT_EQ(rig.settings.Count(kPulse), stored);
  EXPECT_EQ(rig.host.exchanges, 1);  // only the first Start's

  session.SensorBack();
  EXPECT_FALSE(session.IsSensorLost());
  rig.host.answers = {false};
  session.Start();
  EXPECT_TRUE(session.Measuring());
  EXPECT_EQ(rig.host.questions, (std::vector<std::string>{"S_MEASUREVIEW_ONMEASURESTART"}));
  EXPECT_EQ(rig.host.warningBoxes.size(), 1u);
}

}  // namespace
}  // namespace wattrix
