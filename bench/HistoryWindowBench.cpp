// Time to open and draw a 100,000-point history in a history window (load,
// feeding the graph, first paint on the screen), and the cost of one live
// graph update with its repaint.
#include "core/measure/MeasurementSettings.h"
#include "core/measure/RunFile.h"
#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/Quantity.h"
#include "ui/graph/CGraphCtrl.h"
#include "ui/history/CHistoryFrame.h"
#include "ui/history/CHistoryView.h"

#include <QApplication>
#include <QString>

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

using namespace wattrix;

constexpr int kReadings = 100000;

void FillRun(MeasurementSettings& settings) {
  settings.SetModelCode(0);
  settings.SetDisplayRange(kAvg, -40, 50);
  settings.MarkStart(true);
  for (int i = 0; i < kReadings; ++i) {
    const float t = static_cast<float>(i);
    settings.AddReading(kAvg, 10 + 8 * std::sin(t / 700) + 0.3f * std::sin(t * 1.7f));
    settings.AddReading(kVswr, 1.3f + 0.1f * std::sin(t / 900));
    settings.AddReading(kPeak, 18 + 6 * std::sin(t / 500));
  }
  settings.MarkLastReading();
}

const std::string& RunFile() {
  static const std::string path = [] {
    char pattern[] = "/tmp/wattrix-bench-window-XXXXXX";
    const char* dir = ::mkdtemp(pattern);
    std::string file = std::string(dir ? dir : "/tmp") + "/run100k.psh";
    MeasurementSettings settings;
    FillRun(settings);
    if (!WriteHistoryFile(file, settings, QuantityMask{0x13}, "100k"))
      std::fprintf(stderr, "run not written\n");
    return file;
  }();
  return path;
}

// A shown window of 1024 × 700 that opens the file and paints at once.
void BM_OpenAndFirstPaint(benchmark::State& state) {
  const QString path = QString::fromStdString(RunFile());
  for (auto _ : state) {
    state.PauseTiming();
    auto frame = std::make_unique<CHistoryFrame>();
    frame->resize(1024, 700);
    frame->show();
    QApplication::processEvents();
    state.ResumeTiming();
    if (!frame->LoadHistory(path)) state.SkipWithError("load failed");
    frame->View().Graph().repaint();
    state.PauseTiming();
    frame.reset();
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenAndFirstPaint)->Unit(benchmark::kMillisecond);

// Quantity switch on the opened window: the graph refed and repainted.
void BM_SwitchQuantityAndRepaint(benchmark::State& state) {
  CHistoryFrame frame;
  frame.resize(1024, 700);
  frame.show();
  QApplication::processEvents();
  if (!frame.LoadHistory(QString::fromStdString(RunFile()))) state.SkipWithError("load failed");
  int i = 0;
  for (auto _ : state) {
    frame.OnCommand(i++ % 2 ? cmd::kViewAvg : cmd::kViewPeak);
    frame.View().Graph().repaint();
  }
}
BENCHMARK(BM_SwitchQuantityAndRepaint)->Unit(benchmark::kMillisecond);

// One reading of a live run with a full buffer: UpdateLive and the paint.
void BM_LiveUpdateAndRepaint(benchmark::State& state) {
  MeasurementSettings settings;
  FillRun(settings);
  CGraphCtrl ctrl;
  ctrl.resize(1024, 350);
  ctrl.show();
  QApplication::processEvents();
  ctrl.ShowQuantity(0, kAvg, false);
  ctrl.AttachLive(&settings);
  for (auto _ : state) {
    ctrl.UpdateLive(false);
    ctrl.repaint();
  }
  state.counters["points"] = static_cast<double>(ctrl.Feeder().Points().size());
}
BENCHMARK(BM_LiveUpdateAndRepaint)->Unit(benchmark::kMicrosecond);

// UpdateLive alone: what each reading costs; the paint that follows is
// coalesced by the event loop.
void BM_LiveUpdateOnly(benchmark::State& state) {
  MeasurementSettings settings;
  FillRun(settings);
  CGraphCtrl ctrl;
  ctrl.resize(1024, 350);
  ctrl.show();
  QApplication::processEvents();
  ctrl.ShowQuantity(0, kAvg, false);
  ctrl.AttachLive(&settings);
  ctrl.repaint();
  for (auto _ : state) ctrl.UpdateLive(false);
}
BENCHMARK(BM_LiveUpdateOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  strings::SetStringTablePath(HostPaths::ExecutableDir() + "/QLMXEnStr.ini");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
