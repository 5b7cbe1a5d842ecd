// Time of one live refresh of a measurement window: a PX420B reading pair
// (average with reverse, then peak) through the window's logic, which
// stores, checks limits and refreshes the four panels and the live graph,
// followed by a synchronous repaint of the whole view, with and without
// the history graph shown. (What a reading costs as the window paints it,
// only what changed at the next frame, is the application's CPU share that
// scripts/perf.sh measures.)
#include "core/device/SensorLink.h"
#include "core/measure/MeasurementSettings.h"
#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/Quantity.h"
#include "ui/measure/CMeasurementView.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

using namespace wattrix;

struct Bench {
  MeasurementSettings settings;
  CMeasurementView view{settings, SensorLink::Instance(), nullptr};
  int step = 0;

  Bench(int width, int height, bool graph) {
    settings.SetDevice(5, 123456, 291);
    settings.SetLimits(kAvg, 0, 45);
    settings.SetLimitCheck(kAvg, true);
    settings.SetBeepAlarm(kAvg, false);
    view.resize(width, height);
    view.show();
    QApplication::processEvents();
    view.Reinitialise();
    if (graph != view.Session().GraphShown()) view.OnCommand(cmd::kViewHistoryGraph);
    QApplication::processEvents();
  }

  // The values the sensor would send, in 0.01 dB; a BusyFlag set as by the
  // poll, so that the logic takes them.
  void NextReadings() {
    step = (step + 1) % 400;
    SensorLink::Instance().SetBusyFlag(true);
    view.Session().OnReading(
        Reading::Of(RequestKind::AverageReverse, ReplyKind::Measurement, {3800 + step, 2200 + step / 2}));
    SensorLink::Instance().SetBusyFlag(true);
    view.Session().OnReading(Reading::Of(RequestKind::Peak, ReplyKind::Measurement, {4100 + step}));
    if (settings.Count(kAvg) > 90000) settings.ResetHistories();
  }
};

void BM_LiveRefreshAndPaint(benchmark::State& state) {
  Bench b(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), state.range(2) != 0);
  for (auto _ : state) {
    b.NextReadings();
    b.view.repaint();
  }
}
BENCHMARK(BM_LiveRefreshAndPaint)
    ->ArgNames({"w", "h", "graph"})
    ->Args({1176, 690, 0})
    ->Args({1176, 690, 1})
    ->Args({800, 500, 1})
    ->Unit(benchmark::kMicrosecond);

// The logic and widget updates alone: what one reading costs before paint.
void BM_LiveRefreshOnly(benchmark::State& state) {
  Bench b(1176, 690, state.range(0) != 0);
  for (auto _ : state) b.NextReadings();
}
BENCHMARK(BM_LiveRefreshOnly)->ArgName("graph")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  strings::SetStringTablePath(HostPaths::ExecutableDir() + "/" + strings::kFileName);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
