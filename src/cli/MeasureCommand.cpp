// wattrix-cli measure: runs the logic of a live measurement window against
// the connected sensor until enough readings are stored, then prints the
// statistics of the run and optionally saves it.
#include "cli/CliCommand.h"
#include "cli/ConnectedSensor.h"
#include "cli/Options.h"
#include "cli/ProgressWatch.h"
#include "cli/ReadingQueue.h"

#include "core/device/SensorLink.h"
#include "core/measure/MeasurementSettings.h"
#include "core/measure/ModeSession.h"
#include "core/measure/ModeSessionHost.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/Quantity.h"
#include "core/vocabulary/SensorModel.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace wattrix::cli {

namespace {

using Clock = std::chrono::steady_clock;

// A sensor that stops answering is given up when no reading of the first
// quantity was stored for this long. A failed request costs at most its
// 500 ms time-out (plus the serial link's 500 ms pause), so this leaves
// room for several full request cycles of every model.
constexpr auto kNoReadingLimit = std::chrono::seconds(10);

struct ModeChoice {
  ModeCommand command;
  LiveWindowKind view;
};

const std::map<std::string, ModeChoice>& Modes() {
  static const std::map<std::string, ModeChoice> modes{
      {"avgpeak", {ModeCommand::AvgPeak, LiveWindowKind::Measurement}},
      {"avg", {ModeCommand::Avg, LiveWindowKind::Measurement}},
      {"peak", {ModeCommand::Peak, LiveWindowKind::Measurement}},
      {"pulse", {ModeCommand::Pulse, LiveWindowKind::Pulse}},
  };
  return modes;
}

// The window around the session: no questions (nothing is saved unasked),
// no graph, warnings on stderr once per change.
class CliHost final : public ModeSessionHost {
 public:
  bool AskYesNo(const char* /*key*/) override { return false; }
  void RunSaveCommand() override {}
  void SetWarningText(const std::string& text) override {
    if (text == m_warning) return;
    m_warning = text;
    if (!text.empty()) std::fprintf(stderr, "warning: %s\n", text.c_str());
  }
  void GraphShowQuantity(int /*modelCode*/, Quantity /*quantity*/) override {}
  void GraphUpdate(bool /*reset*/) override {}
  void Relayout() override {}

 private:
  std::string m_warning;
};

struct MeasureOptions {
  int port = 0;
  std::string modeName;
  ModeChoice mode{};
  int count = 10;
  std::optional<double> frequency, offset;
  std::optional<long> technology, repeat, duty, reference;
  std::optional<std::string> save;
};

// Usage errors (unknown option, missing argument, not a number) give
// kExitUsage, values out of range kExitFailed, both after printing the
// message; -1 when everything is fine.
int ParseMeasureOptions(const std::vector<std::string>& args, MeasureOptions& out) {
  Options options({"port", "mode", "count", "freq", "offset", "tech", "repeat", "duty", "reference", "save"},
                  {});
  if (!options.Parse(args)) return Fail(kExitUsage, options.Error());
  if (!options.Positional().empty())
    return Fail(kExitUsage, "unexpected argument '" + options.Positional()[0] + "'");
  const auto count = options.Int("count");
  out.frequency = options.Double("freq");
  out.offset = options.Double("offset");
  out.technology = options.Int("tech");
  out.repeat = options.Int("repeat");
  out.duty = options.Int("duty");
  out.reference = options.Int("reference");
  out.save = options.Value("save");
  int portExit = kExitUsage;
  const auto port = RequiredPort(options, "measure", portExit);
  if (!port) return portExit;
  out.port = *port;
  if (!options.Value("mode")) return Fail(kExitUsage, "measure needs --port N and --mode MODE");
  const auto mode = Modes().find(*options.Value("mode"));
  if (mode == Modes().end()) return Fail(kExitUsage, "unknown mode '" + *options.Value("mode") + "'");
  out.modeName = mode->first;
  out.mode = mode->second;
  if (count && (*count < 1 || *count > 100000))
    return Fail(kExitFailed, "--count must lie between 1 and 100000");
  if (count) out.count = static_cast<int>(*count);
  if (out.technology && (*out.technology < 0 || *out.technology > 7))
    return Fail(kExitFailed, "--tech must lie between 0 and 7");
  for (const auto* value : {&out.repeat, &out.duty, &out.reference}) {
    if (*value && (**value < INT_MIN || **value > INT_MAX))
      return Fail(kExitFailed, "option value out of range");
  }
  return -1;
}

// The options on top of the model's settings file; the settings pages'
// checks of frequency and offset apply. False after printing the message.
bool ApplyOptions(const MeasureOptions& options, ConnectedSensor& sensor) {
  if (!sensor.ApplyFrequencyAndOffset(options.frequency, options.offset)) return false;
  MeasurementSettings& settings = sensor.Settings();
  if (options.technology) settings.SetTechnology(static_cast<int>(*options.technology));
  if (options.repeat) settings.SetAvgRepeat(static_cast<int>(*options.repeat));
  if (options.duty) settings.SetPulseDuty(static_cast<int>(*options.duty));
  if (options.reference) settings.SetPulseReference(static_cast<int>(*options.reference));
  return true;
}

std::string Number(double value, const char* format) {
  if (std::isnan(value)) return "N/A";
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

void PrintSummary(MeasurementSettings& settings, LiveWindowKind view) {
  const QuantityMask mask = mode_view::SaveMask(view, settings.ModelCode());
  for (const Quantity q : HistoryQuantities()) {
    if (!mask.Has(q)) continue;
    const char* name = q == kVswr && CarriesPar(settings.ModelCode()) ? "PAR" : QuantitySection(q);
    const int count = settings.Count(q);
    // An empty history has no statistics.
    const auto value = [count](double v) { return Number(count > 0 ? v : NAN, "%.2f"); };
    std::printf("%s count=%d first=%s min=%s max=%s last=%s average=%s\n", name, count,
                value(settings.First(q)).c_str(), value(settings.Min(q)).c_str(),
                value(settings.Max(q)).c_str(), value(settings.LastReading(q)).c_str(),
                value(count > 0 ? settings.Average(q) : 0).c_str());
  }
  if (view == LiveWindowKind::Pulse) {
    std::printf("duty_cycle=%s\n", Number(settings.DutyCycle(), "%.2f").c_str());
    std::printf("burst_width=%s\n", Number(settings.BurstWidth(), "%.3f").c_str());
  }
}

// How a run ended.
enum class RunEnd { Done, Stalled, LineLost };

// Start, the 20 ms request cycle and the deliveries, until `count`
// readings of the first quantity are stored or a single measurement ended,
// the sensor stopped delivering readings or the line went away.
RunEnd RunSession(ModeSession& session, MeasurementSettings& settings, SensorLink& link, int count) {
  ReadingQueue queue;
  session.SetAddressee(queue.Handle());
  session.Start();
  const Quantity first = session.FirstQuantity();
  const auto tick = std::chrono::milliseconds(ModeSession::kTimerIntervalMs);
  auto nextTick = Clock::now();
  ProgressWatch watch(kNoReadingLimit, settings.Count(first));
  RunEnd end = RunEnd::Done;
  while (settings.Count(first) < count && session.Measuring()) {
    const auto now = Clock::now();
    if (now >= nextTick) {
      session.Tick();
      nextTick += tick;
      if (nextTick < now) nextTick = now + tick;  // a slow exchange: no burst of catch-up ticks
    }
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - Clock::now());
    queue.Dispatch(session, static_cast<int>(std::max<long long>(0, wait.count())));
    if (link.LineLost()) {
      end = RunEnd::LineLost;
      break;
    }
    if (watch.Stalled(settings.Count(first))) {
      end = RunEnd::Stalled;
      break;
    }
  }
  session.Close();
  return end;
}

int RunMeasure(const std::vector<std::string>& args) {
  MeasureOptions options;
  if (const int code = ParseMeasureOptions(args, options); code >= 0) return code;

  // The settings record is let go, and the sensor with it, on every way out.
  ConnectedSensor sensor;
  if (!sensor.Connect(options.port)) return kExitFailed;
  MeasurementSettings& settings = sensor.Settings();
  if (!ModelOffers(sensor.ModelCode(), options.mode.command))
    return Fail(kExitFailed, "mode '" + options.modeName + "' is not offered by " + settings.ModelName());
  if (!ApplyOptions(options, sensor)) return kExitFailed;

  CliHost host;
  ModeSession session(options.mode.view, settings, sensor.Link(), host);
  session.Reinitialise();
  const RunEnd end = RunSession(session, settings, sensor.Link(), options.count);
  sensor.Link().Disconnect();

  if (end == RunEnd::LineLost) return Fail(kExitFailed, "the connection to the sensor was lost");
  if (end == RunEnd::Stalled) {
    return Fail(kExitFailed, "the sensor delivered no reading for " +
                                 std::to_string(kNoReadingLimit.count()) + " s; gave up");
  }
  PrintSummary(settings, options.mode.view);
  std::printf("rejected=%llu\n", static_cast<unsigned long long>(sensor.Link().RejectedReplies()));
  if (options.save && !session.SaveTo(*options.save)) {
    return Fail(kExitFailed, strings::GetString("S_MEASUREVIEW_ONFILESAVE"));
  }
  return kExitOk;
}

const CommandRegistration kMeasure(
    "measure",
    "measure --port N --mode avgpeak|avg|peak|pulse [--count K] [--freq MHZ] "
    "[--offset DB] [--tech I] [--repeat R] [--duty D] [--reference R] [--save FILE]",
    RunMeasure);

}  // namespace
}  // namespace wattrix::cli
