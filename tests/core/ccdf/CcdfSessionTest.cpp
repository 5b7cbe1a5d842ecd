// The CCDF window's logic on a link without a sensor: deliveries are handed
// in directly, with BusyFlag set as the request cycle would have set it.
#include "core/ccdf/CcdfSession.h"
#include "core/ccdf/CcdfSessionHostRecorder.h"
#include "core/device/SensorLink.h"
#include "core/device/TestReadings.h"
#include "core/measure/MeasurementSettings.h"
#include "core/vocabulary/CommandIds.h"

#include <gtest/gtest.h>

namespace wattrix {
namespace {

// A sweep whose only bin identifies it.
CcdfHistogram Tagged(int tag) { return CcdfHistogram{{1000 + tag, 50}}; }
int TagOf(const CcdfAccumulator::Sweep& sweep) { return sweep.front().key - 1000; }

class CcdfSessionTest : public ::testing::Test {
 protected:
  // One answered (or failed) request, as the acquisition thread hands it on.
  void Deliver(const CcdfHistogram& histogram, int status = 1) {
    link.SetBusyFlag(true);
    session.OnReading(test::CcdfReading(status, histogram));
  }

  MeasurementSettings settings;
  SensorLink link;
  test::CcdfSessionHostRecorder host;
  CcdfSession session{settings, link, host};
};

TEST_F(CcdfSessionTest, SingleMeasurementStopsWithTheSweepThatFillsTheWindow) {
  settings.SetSingleSweep(true);
  settings.SetCcdfRate(0);
  // Not connected: the technology goes unacknowledged, yet the run counts
  // as started.
  session.StartCcdf();
  ASSERT_TRUE(session.Running());
  for (int i = 1; i <= 9; ++i) {
    Deliver(Tagged(i));
    EXPECT_TRUE(session.Running()) << i;
    EXPECT_FALSE(link.BusyFlag());
  }
  Deliver(Tagged(10));
  EXPECT_FALSE(session.Running());
  EXPECT_EQ(session.Data().StoredSweeps(), 10);
  EXPECT_EQ(session.SweepsProcessed(), 10);
  EXPECT_EQ(host.refreshes, 10);
  EXPECT_EQ(session.Statistics().SampleTotal, 500u);
  // No further request follows.
  EXPECT_FALSE(session.Tick());
}

TEST_F(CcdfSessionTest, ContinuousMeasurementKeepsAMovingWindowAndResetEmptiesIt) {
  settings.SetCcdfRate(0);
  session.StartCcdf();
  for (int i = 1; i <= 11; ++i) Deliver(Tagged(i));
  EXPECT_TRUE(session.Running());
  ASSERT_EQ(session.Data().StoredSweeps(), 10);
  EXPECT_EQ(TagOf(session.Data().SweepList().front()), 2);
  EXPECT_EQ(TagOf(session.Data().SweepList().back()), 11);

  // The rate is read on every delivery: a larger window keeps growing.
  settings.SetCcdfRate(1);
  Deliver(Tagged(12));
  EXPECT_EQ(session.Data().StoredSweeps(), 11);

  session.ResetCcdf();
  EXPECT_TRUE(session.Running());
  EXPECT_EQ(session.Data().StoredSweeps(), 0);
  EXPECT_TRUE(session.Data().CcdfCurve().empty());
  EXPECT_EQ(session.Statistics().SampleTotal, 0u);
  EXPECT_EQ(session.Statistics().AveragePower, 0.0);
  EXPECT_EQ(session.SweepsProcessed(), 0);
  EXPECT_EQ(host.refreshes, 12);  // a reset does not refresh the views
  EXPECT_FALSE(session.Panels()[0].empty());

  // Start again from stopped clears the data too.
  Deliver(Tagged(13));
  session.StopCcdf();
  EXPECT_FALSE(session.Running());
  session.StartCcdf();
  EXPECT_EQ(session.Data().StoredSweeps(), 0);
}

TEST_F(CcdfSessionTest, FailedAnswerClearsBusyFlagAndStoresNothing) {
  settings.SetSingleSweep(true);
  settings.SetCcdfRate(0);
  session.StartCcdf();
  for (int i = 1; i <= 9; ++i) Deliver(Tagged(i));
  const CcdfStatistics before = session.Statistics();
  const auto curve = session.Data().CcdfCurve();

  // The exchange that would have filled the window failed: the window can
  // ask again, nothing changed and the single measurement goes on.
  Deliver(CcdfHistogram{}, 0);
  EXPECT_FALSE(link.BusyFlag());
  EXPECT_TRUE(session.Running());
  EXPECT_EQ(session.Data().StoredSweeps(), 9);
  EXPECT_EQ(session.Statistics().SampleTotal, before.SampleTotal);
  EXPECT_EQ(session.Statistics().AveragePower, before.AveragePower);
  EXPECT_EQ(session.Data().CcdfCurve(), curve);
  EXPECT_EQ(host.refreshes, 9);
  // Any other reply kind is no sweep either.
  Deliver(Tagged(99), 3);
  EXPECT_EQ(session.Data().StoredSweeps(), 9);
  EXPECT_FALSE(link.BusyFlag());

  Deliver(Tagged(10));
  EXPECT_FALSE(session.Running());
  EXPECT_EQ(session.Data().StoredSweeps(), 10);
}

TEST_F(CcdfSessionTest, DeliveryAfterTheFlagWasClearedIsDropped) {
  session.StartCcdf();
  Deliver(Tagged(1));
  link.SetBusyFlag(false);  // the window stopped or closed meanwhile
  session.OnReading(test::CcdfReading(1, Tagged(2)));
  EXPECT_EQ(session.Data().StoredSweeps(), 1);
  EXPECT_EQ(host.refreshes, 1);

  // The last outstanding request after a stop is still processed.
  session.StopCcdf();
  Deliver(Tagged(3));
  EXPECT_EQ(session.Data().StoredSweeps(), 2);

  // Closing clears the flag, so a late delivery is dropped.
  link.SetBusyFlag(true);
  session.Close();
  session.OnReading(test::CcdfReading(1, Tagged(4)));
  EXPECT_EQ(session.Data().StoredSweeps(), 2);
}

TEST_F(CcdfSessionTest, EmptyHistogramClearsTheCurveButKeepsTheSweeps) {
  session.StartCcdf();
  Deliver(CcdfHistogram{{4000, 6000}, {4100, 4000}});
  ASSERT_FALSE(session.Data().CcdfCurve().empty());
  const auto levels = session.Statistics().LevelAt;

  Deliver(CcdfHistogram{});
  EXPECT_FALSE(link.BusyFlag());
  EXPECT_EQ(host.refreshes, 1);
  EXPECT_EQ(session.SweepsProcessed(), 1);
  EXPECT_EQ(session.Data().StoredSweeps(), 1);
  EXPECT_TRUE(session.Data().CcdfCurve().empty());
  EXPECT_EQ(session.Statistics().AveragePower, 0.0);
  EXPECT_EQ(session.Statistics().PeakPower, 0.0);
  EXPECT_EQ(session.Statistics().CrestFactor, 0.0);
  EXPECT_EQ(session.Statistics().LevelAt, levels);

  // The next sweep merges with the kept one.
  Deliver(CcdfHistogram{{4000, 10000}});
  EXPECT_EQ(session.Statistics().SampleTotal, 20000u);
}

TEST_F(CcdfSessionTest, CommandsWithoutASensor) {
  CommandState state;
  ASSERT_TRUE(session.UpdateCommand(cmd::kMeasureStart, state));
  EXPECT_EQ(state, (CommandState{false, false}));
  ASSERT_TRUE(session.UpdateCommand(cmd::kMeasureReset, state));
  EXPECT_FALSE(state.enabled);
  ASSERT_TRUE(session.UpdateCommand(cmd::kDeviceSetting, state));
  EXPECT_TRUE(state.enabled);
  ASSERT_TRUE(session.UpdateCommand(cmd::kFileSave, state));
  EXPECT_FALSE(state.enabled);
  ASSERT_TRUE(session.UpdateCommand(cmd::kViewHistoryGraph, state));
  EXPECT_EQ(state, (CommandState{false, false}));
  settings.SetRelative(true);
  settings.SetLimitCheck(kCcdf, true);
  settings.SetBeepAlarm(kCcdf, false);
  ASSERT_TRUE(session.UpdateCommand(cmd::kModeRelative, state));
  EXPECT_EQ(state, (CommandState{true, true}));
  ASSERT_TRUE(session.UpdateCommand(cmd::kModeAbsolute, state));
  EXPECT_EQ(state, (CommandState{true, false}));
  ASSERT_TRUE(session.UpdateCommand(cmd::kLimitCheckEnable, state));
  EXPECT_TRUE(state.checked);
  ASSERT_TRUE(session.UpdateCommand(cmd::kAlarmOff, state));
  EXPECT_TRUE(state.checked);
  EXPECT_FALSE(session.UpdateCommand(cmd::kExportCsv, state));

  // Start, Stop and Reset need a sensor; the Setting command is the main frame's.
  EXPECT_TRUE(session.OnCommand(cmd::kMeasureStart));
  EXPECT_FALSE(session.Running());
  EXPECT_TRUE(session.OnCommand(cmd::kMeasureReset));
  EXPECT_TRUE(host.questions.empty());
  EXPECT_FALSE(session.OnCommand(cmd::kDeviceSetting));
}

}  // namespace
}  // namespace wattrix
