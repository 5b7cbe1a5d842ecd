// wattrix-cli log status|setup|download|clear|stop: the sensor's unattended
// logging, as the logging page and the download dialog drive it.
#include "cli/CliCommand.h"
#include "cli/ConnectedSensor.h"
#include "cli/Options.h"

#include "core/device/SensorLink.h"
#include "core/settings/LoggingDownload.h"
#include "core/settings/LoggingSetup.h"
#include "core/settings/SensorLogging.h"
#include "core/settings/SettingsPageRules.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/SensorModel.h"

#include <cstdio>
#include <functional>
#include <map>

namespace wattrix::cli {

namespace {

using logging_download::kStatusItems;
using logging_download::kStatusLogging;
using logging_download::kStatusStored;
constexpr int kPeriodChoices = 5;

// The error line of a failed operation: the text of a string-table message.
int FailKey(const std::string& key) { return Fail(kExitFailed, strings::GetString(key)); }

using Action = std::function<int(ConnectedSensor& sensor, Options& options)>;

// Parses the options of one sub-command, connects to a sensor that logs and
// runs the action.
int RunOnSensor(const std::vector<std::string>& args, const std::string& command,
                std::set<std::string> valued, const Action& action) {
  valued.insert("port");
  Options options(std::move(valued), {});
  if (!options.Parse(args)) return Fail(kExitUsage, options.Error());
  if (!options.Positional().empty())
    return Fail(kExitUsage, "unexpected argument '" + options.Positional()[0] + "'");
  // A value that is not a number is a usage error whether or not a sensor
  // answers, so the numbers are read before connecting.
  for (const char* name : {"items", "interval", "runtime", "period", "reference"}) (void)options.Int(name);
  for (const char* name : {"freq", "offset"}) (void)options.Double(name);
  int portExit = kExitUsage;
  const auto port = RequiredPort(options, command, portExit);
  if (!port) return portExit;

  ConnectedSensor sensor;
  if (!sensor.Connect(*port)) return kExitFailed;
  if (!ModelOffers(sensor.ModelCode(), ModeCommand::DownloadLog))
    return Fail(kExitFailed, "the " + sensor.Settings().ModelName() + " does not log by itself");
  return action(sensor, options);
}

int Status(ConnectedSensor& sensor, Options&) {
  SensorLink& link = sensor.Link();
  if (!link.ReadLoggingStatus()) return FailKey("S_SETTING_WARNING_DN_FAIL");
  std::printf("items=0x%02x\n", static_cast<unsigned>(link.LoggingStatus(kStatusItems)));
  std::printf("logging=%d\n", link.LoggingStatus(kStatusLogging) != 0 ? 1 : 0);
  std::printf("stored=%d\n", static_cast<int>(link.LoggingStatus(kStatusStored)));
  std::string values;
  for (int i = 0; i < SensorLink::kLoggingStatusCount; ++i)
    values += (i ? "," : "") + std::to_string(link.LoggingStatus(i));
  std::printf("values=%s\n", values.c_str());
  return kExitOk;
}

int Setup(ConnectedSensor& sensor, Options& options) {
  const auto items = options.Int("items");
  const auto interval = options.Int("interval");
  const auto runtime = options.Int("runtime");
  const auto freq = options.Double("freq");
  const auto offset = options.Double("offset");
  const auto period = options.Int("period");
  const auto reference = options.Int("reference");
  if (!options.ValidNumbers()) return Fail(kExitUsage, options.Error());
  if (!items || !interval || !runtime)
    return Fail(kExitUsage, "log setup needs --items, --interval and --runtime");
  if (*items < 0 || *items > 0x0F)
    return Fail(kExitFailed, "--items must be a mask of the bits 0x01 to 0x08");
  if (period && (*period < 0 || *period >= kPeriodChoices))
    return Fail(kExitFailed, "--period must lie between 0 and 4");
  // The page's edits hold at most six digits; the checks below refuse
  // anything out of range, these only keep the numbers within an int.
  if (*interval < -999999 || *interval > 999999 || *runtime < -999999 || *runtime > 999999)
    return Fail(kExitFailed, "--interval and --runtime must have at most six digits");
  if (reference && (*reference < -100000 || *reference > 100000))
    return Fail(kExitFailed, "--reference must lie between -100000 and 100000");

  // The page's Validate, then its Apply into the record.
  MeasurementSettings& settings = sensor.Settings();
  const float frequency = freq ? static_cast<float>(*freq) : settings.Frequency();
  const float externalOffset = offset ? static_cast<float>(*offset) : settings.ExternalOffset();
  if (const auto failure = settings_page::Validate(settings.ModelCode(), frequency, externalOffset, {}))
    return FailKey(failure->key);
  settings.SetFrequency(frequency);
  settings.SetExternalOffset(externalOffset);
  if (period) settings.SetPulseRate(static_cast<int>(*period));
  if (reference) settings.SetPulseReference(static_cast<int>(*reference));
  settings.SetLoggingItems(QuantityMask(static_cast<int>(*items)));
  settings.SetLoggingInterval(static_cast<int>(*interval));
  settings.SetLoggingRunTime(static_cast<int>(*runtime));

  logging_setup::SetInput input;
  input.itemMask = QuantityMask(static_cast<int>(*items));
  input.intervalSeconds = static_cast<int>(*interval);
  input.runMinutes = static_cast<int>(*runtime);
  input.frequencyMHz = frequency;
  input.periodIndex = settings_page::PeriodListIndex(settings.PulseRate());
  input.reference = settings.PulseReference();
  input.connected = sensor.Link().IsConnected();
  const auto check = logging_setup::CheckSet(input);
  if (!check.ok) return check.text.empty() ? FailKey(check.key) : Fail(kExitFailed, check.text);

  if (!logging_setup::ConfigureLogging(sensor.Link(), check.configuration, sensor.Settings()))
    return FailKey("S_SETTING_WARNING_LOGGING_FAIL");
  std::printf("logging=set\n");
  return kExitOk;
}

int Download(ConnectedSensor& sensor, Options& options) {
  const auto out = options.Value("out");
  if (!out || out->empty()) return Fail(kExitUsage, "log download needs --out FILE");
  const std::string title = options.Value("title").value_or("");
  SensorLink& link = sensor.Link();
  if (!link.ReadLoggingStatus()) return FailKey("S_SETTING_WARNING_DN_FAIL");
  // The dialog offers the download only once the sensor has finished.
  if (link.LoggingStatus(kStatusLogging) != 0 && link.LoggingStatus(kStatusStored) > 0)
    return Fail(kExitFailed, "the sensor is still logging; stop it or wait until it has finished");

  int stored = 0;
  const auto outcome = logging_download::FetchLog(link, sensor.Settings(), sensor.SerialLink(), &stored);
  if (outcome != logging_download::FetchOutcome::Fetched)
    return FailKey(logging_download::FetchWarningKey(outcome));
  if (!logging_download::SaveFetchedLog(*out, sensor.Settings(), link, title))
    return FailKey("S_MEASUREVIEW_ONFILESAVE");
  std::printf("values=%d\n", stored);
  return kExitOk;
}

int Clear(ConnectedSensor& sensor, Options&) {
  if (!sensor.Link().ClearLoggingMemory()) return FailKey("S_SETTING_WARNING_CLEAR_FAIL");
  std::printf("memory=cleared\n");
  return kExitOk;
}

int Stop(ConnectedSensor& sensor, Options&) {
  if (!sensor.Link().SetLoggingRun(0)) return FailKey("S_SETTING_WARNING_CLEAR_FAIL");
  std::printf("logging=stopped\n");
  return kExitOk;
}

struct SubCommand {
  std::set<std::string> valued;
  Action action;
};

int RunLog(const std::vector<std::string>& args) {
  static const std::map<std::string, SubCommand> kSubCommands = {
      {"status", {{}, Status}},
      {"setup", {{"items", "interval", "runtime", "freq", "offset", "period", "reference"}, Setup}},
      {"download", {{"out", "title"}, Download}},
      {"clear", {{}, Clear}},
      {"stop", {{}, Stop}},
  };
  if (args.empty()) return Fail(kExitUsage, "log needs status, setup, download, clear or stop");
  const auto it = kSubCommands.find(args[0]);
  if (it == kSubCommands.end()) return Fail(kExitUsage, "unknown log command '" + args[0] + "'");
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  return RunOnSensor(rest, "log " + args[0], it->second.valued, it->second.action);
}

const CommandRegistration kLog(
    "log",
    "log status|setup|download|clear|stop --port N (setup: --items MASK --interval SEC "
    "--runtime MIN [--freq MHZ] [--offset DB] [--period I] [--reference R]; download: "
    "--out FILE [--title TEXT])",
    RunLog);

}  // namespace
}  // namespace wattrix::cli
