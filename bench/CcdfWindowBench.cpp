// Time of one CCDF refresh: a processed sweep through the window's logic
// (moving window, curve, statistics), the graph and the six panels brought
// up to date, and then the paint of just what the sweep changed, as the
// window's frame pacer asks for it (or of every widget whole, for
// comparison), at the size the window has in the maximised document area
// of the main frame's default size.
#include "core/device/SensorLink.h"
#include "core/measure/MeasurementSettings.h"
#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/SensorModel.h"
#include "ui/ccdf/CCcdfFrame.h"
#include "ui/ccdf/CCcdfGraphCtrl.h"
#include "ui/platform/FramePacer.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cmath>
#include <random>
#include <vector>

namespace {

using namespace wattrix;

// Sweeps of 10,000 samples of a noise-like signal around 10 dBm: the power
// of each sample exponentially distributed, as the simulated sensor sends
// them (about 1,500 occupied 0.01 dB bins each).
std::vector<CcdfHistogram> MakeSweeps(int count) {
  std::mt19937 rng(5);
  std::exponential_distribution<double> power(1.0);
  std::vector<CcdfHistogram> sweeps;
  for (int s = 0; s < count; ++s) {
    CcdfHistogram h;
    for (int i = 0; i < 10000; ++i) {
      const double dbm = 10.0 + 10.0 * std::log10(std::max(1e-6, power(rng)));
      ++h[static_cast<int>(std::lround(dbm * 100.0))];
    }
    sweeps.push_back(std::move(h));
  }
  return sweeps;
}

// Paints what the pacer gathered, as its next frame does.
void PaintPaced(CCcdfFrame& frame) {
  frame.Pacer().Flush();
  QCoreApplication::sendPostedEvents();
}

void BM_CcdfRefreshAndPaint(benchmark::State& state) {
  MeasurementSettings settings;
  settings.SetDevice(model::kPX420B, 123456, 291);
  settings.SetCcdfRate(static_cast<int>(state.range(2)));
  CCcdfFrame frame(settings, SensorLink::Instance(), nullptr);
  frame.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  frame.show();
  QApplication::processEvents();
  std::vector<Reading> sweeps;
  for (auto& sweep : MakeSweeps(24))
    sweeps.push_back(Reading::OfSweep(ReplyKind::Measurement, std::make_shared<const CcdfHistogram>(sweep)));
  std::size_t next = 0;
  const auto deliver = [&] {
    SensorLink::Instance().SetBusyFlag(true);
    frame.Session().OnReading(sweeps[next]);
    next = (next + 1) % sweeps.size();
  };
  // The moving window full, as in a continuous run.
  for (int i = 0; i < 100; ++i) deliver();
  const bool whole = state.range(3) != 0;
  const auto paint = [&] {
    // The whole window copied out to the screen, or what the sweep changed.
    if (whole)
      for (QWidget* child : frame.findChildren<QWidget*>()) child->update();
    PaintPaced(frame);
  };
  paint();
  const int before = frame.Graph().SurfacePaints();
  for (auto _ : state) {
    deliver();
    paint();
  }
  state.counters["graphPaintsPerSweep"] =
      static_cast<double>(frame.Graph().SurfacePaints() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_CcdfRefreshAndPaint)
    ->ArgNames({"w", "h", "rate", "whole"})
    ->Args({1176, 690, 0, 1})
    ->Args({1176, 690, 0, 0})
    ->Args({1176, 690, 3, 0})
    ->Args({790, 510, 0, 0})
    ->Unit(benchmark::kMicrosecond);

// A refresh with nothing new (the settings dialog closed without a change):
// nothing is drawn.
void BM_CcdfRefreshUnchanged(benchmark::State& state) {
  MeasurementSettings settings;
  settings.SetDevice(model::kPX420B, 123456, 291);
  CCcdfFrame frame(settings, SensorLink::Instance(), nullptr);
  frame.resize(1176, 690);
  frame.show();
  QApplication::processEvents();
  const auto sweeps = MakeSweeps(10);
  for (const auto& sweep : sweeps) {
    SensorLink::Instance().SetBusyFlag(true);
    frame.Session().OnReading(
        Reading::OfSweep(ReplyKind::Measurement, std::make_shared<const CcdfHistogram>(sweep)));
  }
  frame.repaint();
  for (auto _ : state) {
    frame.RefreshCcdfViews();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_CcdfRefreshUnchanged)->Unit(benchmark::kMicrosecond);

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
