// Speed of the history file writer, reader and CSV export for a full live
// run (100,000 readings of all five quantities), each beside a plain
// stdio loop over the same number of bytes, and the engine's drawing time
// for a 100,000-point history.
#include "core/graph/GraphFeeder.h"
#include "core/history/HistoryCsv.h"
#include "core/history/HistoryDocument.h"
#include "core/measure/MeasurementSettings.h"
#include "core/measure/RunFile.h"

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace wattrix;

constexpr int kReadings = 100000;

std::string ScratchDir() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/wattrix-bench-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    return std::string(made ? made : "/tmp");
  }();
  return dir;
}

MeasurementSettings& FullRun() {
  static MeasurementSettings settings;
  static const bool filled = [] {
    settings.MarkStart(true);
    for (int i = 0; i < kReadings; ++i) {
      const float t = static_cast<float>(i);
      settings.AddReading(kAvg, 40 + std::sin(t / 500));
      settings.AddReading(kRev, 20 + std::cos(t / 300));
      settings.AddReading(kVswr, 1.2f + 0.1f * std::sin(t / 50));
      settings.AddReading(kPeak, 45 + std::sin(t / 70));
      settings.AddReading(kPulse, 43 + std::cos(t / 90));
    }
    return true;
  }();
  (void)filled;
  return settings;
}

const std::string& HistoryPath() {
  static const std::string path = [] {
    const auto p = ScratchDir() + "/run.psh";
    if (!WriteHistoryFile(p, FullRun(), QuantityMask{0x1F}, "")) std::abort();
    return p;
  }();
  return path;
}

// Writes `bytes` bytes in blocks of `block` with fwrite; optionally syncs,
// as the atomic writer does before its rename.
void PlainWrite(const std::string& path, std::size_t bytes, std::size_t block, bool sync) {
  static std::vector<char> data(1 << 16, 'x');
  FILE* f = std::fopen(path.c_str(), "wb");
  for (std::size_t done = 0; done < bytes; done += block)
    std::fwrite(data.data(), 1, std::min(block, bytes - done), f);
  std::fflush(f);
  if (sync) ::fsync(fileno(f));
  std::fclose(f);
}

std::size_t HistoryBytes() { return 216 + static_cast<std::size_t>(kReadings) * 20; }

void BM_WriteHistoryFile(benchmark::State& state) {
  auto& s = FullRun();
  const auto path = ScratchDir() + "/write.psh";
  for (auto _ : state) benchmark::DoNotOptimize(WriteHistoryFile(path, s, QuantityMask{0x1F}, ""));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(HistoryBytes()));
}
BENCHMARK(BM_WriteHistoryFile)->Unit(benchmark::kMillisecond);

// The header alone: the averages scan every reading of the five quantities.
void BM_BuildHistoryHeader(benchmark::State& state) {
  auto& s = FullRun();
  for (auto _ : state) benchmark::DoNotOptimize(BuildHistoryHeader(s, QuantityMask{0x1F}, ""));
}
BENCHMARK(BM_BuildHistoryHeader)->Unit(benchmark::kMillisecond);

void BM_PlainFwriteSameBytes(benchmark::State& state) {
  const auto path = ScratchDir() + "/plain.bin";
  for (auto _ : state) PlainWrite(path, HistoryBytes(), 20, state.range(0) != 0);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(HistoryBytes()));
}
BENCHMARK(BM_PlainFwriteSameBytes)->Arg(0)->Arg(1)->ArgName("fsync")->Unit(benchmark::kMillisecond);

void BM_ReadHistoryFile(benchmark::State& state) {
  const auto& path = HistoryPath();
  for (auto _ : state) {
    HistoryHeader header;
    std::vector<std::int32_t> points;
    std::size_t count = 0;
    benchmark::DoNotOptimize(ReadHistoryFile(path, header, points, count));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(HistoryBytes()));
}
BENCHMARK(BM_ReadHistoryFile)->Unit(benchmark::kMillisecond);

void BM_PlainFreadSameBytes(benchmark::State& state) {
  const auto& path = HistoryPath();
  std::vector<char> buffer(HistoryBytes());
  for (auto _ : state) {
    FILE* f = std::fopen(path.c_str(), "rb");
    std::size_t done = 0;
    while (done < buffer.size()) {
      const auto n = std::fread(buffer.data() + done, 1, std::min<std::size_t>(20, buffer.size() - done), f);
      if (n == 0) break;
      done += n;
    }
    std::fclose(f);
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(HistoryBytes()));
}
BENCHMARK(BM_PlainFreadSameBytes)->Unit(benchmark::kMillisecond);

HistoryDocument& LoadedDocument() {
  static HistoryDocument document;
  static const bool loaded = document.Load(HistoryPath());
  if (!loaded) std::abort();
  return document;
}

void BM_ExportCsv(benchmark::State& state) {
  auto& d = LoadedDocument();
  const auto path = ScratchDir() + "/run.csv";
  for (auto _ : state) benchmark::DoNotOptimize(d.ExportCsv(path));
  const auto bytes = FormatHistoryCsv(d.Header(), d.Points(), d.Count(), d.ModelCode()).size();
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);

void BM_PlainFwriteCsvBytes(benchmark::State& state) {
  auto& d = LoadedDocument();
  const auto bytes = FormatHistoryCsv(d.Header(), d.Points(), d.Count(), d.ModelCode()).size();
  const auto path = ScratchDir() + "/plain.csv";
  for (auto _ : state) PlainWrite(path, bytes, 64, state.range(0) != 0);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_PlainFwriteCsvBytes)->Arg(0)->Arg(1)->ArgName("fsync")->Unit(benchmark::kMillisecond);

// A canvas that only counts, so that the figure is the engine's own time.
class CountingCanvas final : public Canvas {
 public:
  int DpiY() const override { return 96; }
  void SetAntialiasing(bool) override {}
  void DrawLine(PointF, PointF, const Pen&) override { ++m_calls; }
  void DrawPolyline(std::span<const PointF> points, const Pen&) override { m_calls += points.size(); }
  void FillRect(const RectF&, const Brush&) override { ++m_calls; }
  void DrawRect(const RectF&, const Pen&) override { ++m_calls; }
  void FillEllipse(const RectF&, const Brush&) override {}
  void DrawEllipse(const RectF&, const Pen&) override {}
  void DrawArc(const RectF&, double, double, const Pen&) override {}
  void FillPolygon(std::span<const PointF>, const Brush&) override {}
  void DrawPolygon(std::span<const PointF>, const Pen&) override {}
  void DrawText(const std::string&, PointF, const Font&, Argb) override { ++m_calls; }
  void DrawTextInBox(const std::string&, const RectF&, const Font&, Argb, const TextFormat&) override {
    ++m_calls;
  }
  SizeF MeasureText(const std::string& text, const Font& font) override {
    return SizeF{0.5 * font.pixelHeight * static_cast<double>(text.size()), 1.2 * font.pixelHeight};
  }
  FontMetrics Metrics(const Font& font) override {
    return FontMetrics{1.2 * font.pixelHeight, 0.5 * font.pixelHeight, font.pixelHeight};
  }
  void SetClip(const RectF&) override {}
  void ResetClip() override {}
  std::size_t m_calls = 0;
};

void BM_DrawHistory100k(benchmark::State& state) {
  auto& d = LoadedDocument();
  GraphFeeder feeder;
  feeder.Resize(1280, 720);
  feeder.ShowDocument(d);
  CountingCanvas canvas;
  for (auto _ : state) {
    feeder.RenderTo(canvas);
    benchmark::DoNotOptimize(canvas.m_calls);
  }
  state.counters["vertices_per_draw"] = static_cast<double>(canvas.m_calls) /
                                        static_cast<double>(std::max<std::int64_t>(1, state.iterations()));
}
BENCHMARK(BM_DrawHistory100k)->Unit(benchmark::kMicrosecond);

void BM_LoadAndFeedHistory100k(benchmark::State& state) {
  for (auto _ : state) {
    HistoryDocument d;
    d.Load(HistoryPath());
    GraphFeeder feeder;
    feeder.Resize(1280, 720);
    benchmark::DoNotOptimize(feeder.ShowDocument(d));
  }
}
BENCHMARK(BM_LoadAndFeedHistory100k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
