// Time of one reading on a measurement panel: the value refresh (texts and
// needle) followed by the paint of the panel and its gauge, at the sizes of
// the main panel, a small panel and a full-window panel.
#include "core/measure/AnalogGauge.h"
#include "core/measure/MeasurementSettings.h"
#include "core/vocabulary/Quantity.h"
#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"
#include "ui/measure/CAnalogGuage.h"
#include "ui/measure/CMeasurementCtrl.h"
#include "ui/platform/QtCanvas.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

namespace {

using namespace wattrix;

struct Bench {
  MeasurementSettings settings;
  CMeasurementCtrl panel;
  float reading = 10.0f;

  Bench(int layout, int width, int height) {
    settings.SetModelCode(5);
    settings.SetDisplayRange(kAvg, -10, 30);
    settings.SetLimits(kAvg, 0, 20);
    settings.SetLimitCheck(kAvg, true);
    settings.AddReading(kAvg, reading);
    panel.SetSettings(&settings);
    panel.SetLayout(layout);
    panel.SetQuantity(kAvg);
    panel.resize(width, height);
    panel.show();
    QApplication::processEvents();
    panel.Refresh(PanelRefresh::All);
  }

  void NextReading() {
    reading = reading > 25.0f ? -5.0f : reading + 0.37f;
    settings.AddReading(kAvg, reading);
    if (settings.Count(kAvg) > 90000) settings.ResetHistories();
  }
};

// Refresh (kind 2) and a synchronous repaint of the panel with its gauge.
void BM_ReadingRefreshAndPaint(benchmark::State& state) {
  Bench b(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
          static_cast<int>(state.range(2)));
  for (auto _ : state) {
    b.NextReading();
    b.panel.Refresh(PanelRefresh::Values);
    b.panel.repaint();
  }
}
BENCHMARK(BM_ReadingRefreshAndPaint)
    ->ArgNames({"layout", "w", "h"})
    ->Args({0, 476, 326})
    ->Args({1, 476, 326})
    ->Args({2, 600, 700})
    ->Unit(benchmark::kMicrosecond);

// The value refresh alone (what runs on every reading before any paint).
void BM_ReadingRefreshOnly(benchmark::State& state) {
  Bench b(1, 476, 326);
  for (auto _ : state) {
    b.NextReading();
    b.panel.Refresh(PanelRefresh::Values);
    benchmark::DoNotOptimize(b.panel.ItemText(9).data());
  }
}
BENCHMARK(BM_ReadingRefreshOnly)->Unit(benchmark::kMicrosecond);

// The dial alone, rendered into its image.
void BM_GaugeRender(benchmark::State& state) {
  CAnalogGuage gauge;
  gauge.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(0)));
  gauge.SetMinimum(-10);
  gauge.SetMaximum(30);
  gauge.AddThreshold(-10, 0, 0xFFFF0000);
  gauge.AddThreshold(0, 20, 0xFF008000);
  gauge.AddThreshold(20, 30, 0xFFFF0000);
  gauge.SetUnitText("dBm");
  gauge.show();  // a hidden window gets its size event only when shown
  QApplication::processEvents();
  double v = 0;
  for (auto _ : state) {
    v = v > 30 ? -10 : v + 0.5;
    gauge.SetValue(v);
    benchmark::DoNotOptimize(gauge.Render().constBits());
  }
}
BENCHMARK(BM_GaugeRender)->Arg(160)->Arg(306)->Arg(540)->Unit(benchmark::kMicrosecond);

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
