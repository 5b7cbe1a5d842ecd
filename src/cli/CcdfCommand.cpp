// wattrix-cli ccdf: runs the CCDF window's logic for a number of sweeps and
// prints the statistics (and the curve).
#include "cli/CliCommand.h"
#include "cli/ConnectedSensor.h"
#include "cli/Options.h"
#include "cli/ProgressWatch.h"
#include "cli/ReadingQueue.h"

#include "core/ccdf/CcdfSession.h"
#include "core/ccdf/CcdfSessionHost.h"
#include "core/device/SensorLink.h"
#include "core/device/SensorProtocol.h"
#include "core/vocabulary/SensorModel.h"

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace wattrix::cli {

namespace {

// Failed exchanges in a row after which the sensor counts as gone.
constexpr int kMaxFailuresInRow = 5;
// Beyond the longest CCDF exchange (gate and block time-outs): how long the
// loop waits for a processed sweep before it gives up.
constexpr int kStallMarginMs = 5000;

// The window around the session: nothing to draw, no one to ask.
class QuietHost final : public CcdfSessionHost {
 public:
  void RefreshCcdfViews() override {}
  void SetWarningText(const std::string& text) override {
    if (!text.empty()) std::fprintf(stderr, "warning: %s\n", text.c_str());
  }
  bool AskYesNo(const char* /*key*/) override { return true; }
};

// Counts the failed exchanges in a row on their way to the session. A
// sensor whose replies were refused still answers (the line is noisy), so
// such a failure does not count toward giving up.
class FailureCounter final : public ReadingSink {
 public:
  FailureCounter(CcdfSession& session, const SensorLink& link)
      : m_session(session), m_link(link), m_rejected(link.RejectedReplies()) {}
  void OnReading(const Reading& reading) override {
    const auto rejected = m_link.RejectedReplies();
    const bool answered = reading.Answered() || rejected != m_rejected;
    m_rejected = rejected;
    m_inRow = answered ? 0 : m_inRow + 1;
    m_session.OnReading(reading);
  }
  int InRow() const { return m_inRow; }

 private:
  CcdfSession& m_session;
  const SensorLink& m_link;
  std::uint64_t m_rejected;
  int m_inRow = 0;
};

struct CcdfOptions {
  int port = 0;
  long sweeps = 10;
  std::optional<long> rate;
  std::optional<long> tech;
  std::optional<double> freq;
  std::optional<double> offset;
  bool curve = false;
};

// Usage errors give kExitUsage, values out of range kExitFailed; -1 when
// everything is fine.
int ParseCcdfOptions(const std::vector<std::string>& args, CcdfOptions& out) {
  Options options({"port", "sweeps", "rate", "tech", "freq", "offset"}, {"curve"});
  if (!options.Parse(args)) return Fail(kExitUsage, options.Error());
  if (!options.Positional().empty())
    return Fail(kExitUsage, "unexpected argument '" + options.Positional()[0] + "'");
  // Every value is read as a number first: a word that is not one is a
  // usage error before any range is checked.
  const auto sweeps = options.Int("sweeps");
  out.rate = options.Int("rate");
  out.tech = options.Int("tech");
  out.freq = options.Double("freq");
  out.offset = options.Double("offset");
  out.curve = options.Has("curve");
  int portExit = kExitUsage;
  const auto port = RequiredPort(options, "ccdf", portExit);
  if (!port) return portExit;
  out.port = *port;
  if (sweeps) out.sweeps = *sweeps;
  if (out.sweeps < 1 || out.sweeps > 1000000)
    return Fail(kExitFailed, "--sweeps must lie between 1 and 1000000");
  if (out.rate && (*out.rate < 0 || *out.rate > 3))
    return Fail(kExitFailed, "--rate must lie between 0 and 3");
  if (out.tech && (*out.tech < 0 || *out.tech > 7))
    return Fail(kExitFailed, "--tech must lie between 0 and 7");
  return -1;
}

// The settings page's checks on the options, then the options into the
// record; false after printing the page's message.
bool ApplyCcdfOptions(const CcdfOptions& o, ConnectedSensor& sensor) {
  if (!sensor.ApplyFrequencyAndOffset(o.freq, o.offset)) return false;
  MeasurementSettings& settings = sensor.Settings();
  if (o.rate) settings.SetCcdfRate(static_cast<int>(*o.rate));
  if (o.tech) settings.SetTechnology(static_cast<int>(*o.tech));
  settings.SetSingleSweep(false);  // the run ends after the requested sweeps
  return true;
}

// Start, the request cycle and every delivery as the window processes it,
// until `sweeps` sweeps were processed; false after printing why not.
// `startRejected` gets the refusals of the start commands, which are no
// sweeps.
bool RunSweeps(CcdfSession& session, SensorLink& link, long sweeps, std::uint64_t& startRejected) {
  ReadingQueue queue;
  session.SetAddressee(queue.Handle());
  FailureCounter counter(session, link);
  const auto stall = std::chrono::milliseconds(
      protocol::kCcdfGateTimeoutMs + protocol::CcdfTimeoutMs(link.FirmwareVersion()) + kStallMarginMs);
  session.StartCcdf();
  startRejected = link.RejectedReplies();
  ProgressWatch watch(stall, 0);
  bool ok = true;
  while (session.SweepsProcessed() < sweeps) {
    session.Tick();
    queue.Dispatch(counter, CcdfSession::kTimerIntervalMs);
    const bool stalled = watch.Stalled(session.SweepsProcessed());
    std::string reason;
    if (link.LineLost() || !link.IsConnected()) {
      reason = "the connection to the sensor was lost";
    } else if (counter.InRow() >= kMaxFailuresInRow) {
      reason = "the sensor did not deliver a CCDF sweep (" + std::to_string(kMaxFailuresInRow) +
               " failed exchanges in a row)";
    } else if (stalled) {
      const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(stall).count();
      reason = "no CCDF sweep from the sensor within " + std::to_string(seconds) + " s";
    }
    if (!reason.empty()) {
      Fail(kExitFailed, reason);
      ok = false;
      break;
    }
  }
  session.Close();
  return ok;
}

void PrintResults(const CcdfSession& session, bool curve) {
  const auto& s = session.Statistics();
  std::printf("sweeps=%d\n", session.SweepsProcessed());
  std::printf("samples=%llu\n", static_cast<unsigned long long>(s.SampleTotal));
  std::printf("average_power=%.4f\n", s.AveragePower);
  std::printf("peak_power=%.4f\n", s.PeakPower);
  std::printf("crest_factor=%.4f\n", s.CrestFactor);
  static constexpr const char* kLevelNames[] = {"10", "1", "0.1", "0.01", "0.001"};
  for (std::size_t i = 0; i < s.LevelAt.size(); ++i)
    std::printf("level_%s=%.4f\n", kLevelNames[i], s.LevelAt[i]);
  for (std::size_t i = 0; i < s.ProbabilityAt.size(); ++i)
    std::printf("probability_%d=%.6f\n", static_cast<int>(kCcdfLevels[i]), s.ProbabilityAt[i]);
  if (!curve) return;
  for (const CcdfPoint& point : session.Data().CcdfCurve())
    std::printf("point=%.6f,%.4f\n", static_cast<double>(point.logProbability),
                static_cast<double>(point.relativePower));
}

int RunCcdf(const std::vector<std::string>& args) {
  CcdfOptions options;
  if (const int code = ParseCcdfOptions(args, options); code >= 0) return code;

  ConnectedSensor sensor;
  if (!sensor.Connect(options.port)) return kExitFailed;
  if (!ModelOffers(sensor.ModelCode(), ModeCommand::Ccdf))
    return Fail(kExitFailed, "the " + sensor.Settings().ModelName() + " does not offer CCDF mode");
  if (!ApplyCcdfOptions(options, sensor)) return kExitFailed;

  QuietHost host;
  CcdfSession session(sensor.Settings(), sensor.Link(), host);
  std::uint64_t startRejected = 0;
  if (!RunSweeps(session, sensor.Link(), options.sweeps, startRejected)) return kExitFailed;
  PrintResults(session, options.curve);
  std::printf("rejected=%llu\n",
              static_cast<unsigned long long>(sensor.Link().RejectedReplies() - startRejected));
  return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

const CommandRegistration kCcdf("ccdf",
                                "ccdf --port N [--sweeps K] [--rate R] [--tech I] [--freq MHZ] [--offset DB] "
                                "[--curve]",
                                RunCcdf);

}  // namespace
}  // namespace wattrix::cli
