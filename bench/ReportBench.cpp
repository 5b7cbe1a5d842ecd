// Time to produce the one-page report of a 100,000-point history as PDF:
// the command line's writer (core only), and the dialog's path (the page
// laid out on a recorded page, then printed through Qt's PDF output).
#include "core/history/HistoryDocument.h"
#include "core/measure/MeasurementSettings.h"
#include "core/measure/RunFile.h"
#include "core/report/HistoryReport.h"
#include "core/report/RecordedPage.h"
#include "core/strings/StringTable.h"
#include "ui/report/ReportPrinting.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

using namespace wattrix;

constexpr int kReadings = 100000;

const std::string& ScratchDir() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/wattrix-report-bench-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    return std::string(made ? made : "/tmp");
  }();
  return dir;
}

const HistoryDocument& Document() {
  static const HistoryDocument document = [] {
    MeasurementSettings settings;
    settings.SetModelCode(5);
    settings.MarkStart(true);
    for (int i = 0; i < kReadings; ++i) {
      const float t = static_cast<float>(i);
      settings.AddReading(kAvg, 40 + std::sin(t / 500) + 0.3f * std::sin(t * 1.7f));
      settings.AddReading(kPeak, 45 + std::sin(t / 70));
    }
    const std::string path = ScratchDir() + "/run.psh";
    if (!WriteHistoryFile(path, settings, QuantityMask{0x03}, "Bench run")) std::abort();
    HistoryDocument loaded;
    if (!loaded.Load(path)) std::abort();
    return loaded;
  }();
  return document;
}

ReportFields Fields() {
  return ReportFields{"Bench run",           " 2026,03,07 AM 9:05", "Engineer",           "Site",
                      std::string(200, 'p'), std::string(700, 'r'), std::string(200, 'm')};
}

void BM_ReportPdfCommandLine(benchmark::State& state) {
  const HistoryDocument& document = Document();
  const std::string path = ScratchDir() + "/cli.pdf";
  for (auto _ : state) {
    if (!WriteReportPdf(path, document, Fields())) state.SkipWithError("write failed");
  }
  state.counters["bytes"] = static_cast<double>(ReportPdfBytes(document, Fields()).size());
}
BENCHMARK(BM_ReportPdfCommandLine)->Unit(benchmark::kMillisecond);

void BM_ReportPdfDialog(benchmark::State& state) {
  const HistoryDocument& document = Document();
  const QString path = QString::fromStdString(ScratchDir() + "/dialog.pdf");
  for (auto _ : state) {
    auto printer = report_printing::PdfPrinter(path);
    const PrintGeometry geometry = report_printing::GeometryOf(*printer);
    RecordedPage page(geometry.dpi);
    DrawHistoryReport(page, geometry.printable, Fields(), document);
    if (!report_printing::PrintPage(page, *printer)) state.SkipWithError("print failed");
  }
  state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK(BM_ReportPdfDialog)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  strings::InitStringTablePath();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
