#include "sim/SimOptions.h"

#include "core/vocabulary/SensorModel.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>

namespace wattrix::sim {

namespace {

bool ToDouble(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtod(text.c_str(), &end);
  return errno == 0 && *end == '\0' && std::isfinite(value);
}

bool ToInt(const std::string& text, long long low, long long high, long long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0' && value >= low && value <= high;
}

// "2.91" or "291" -> 291.
bool ToFirmware(const std::string& text, int& version) {
  double value = 0;
  if (!ToDouble(text, value) || value < 0) return false;
  const double hundredths = text.find('.') != std::string::npos ? std::round(value * 100.0) : value;
  if (hundredths > INT_MAX || hundredths != std::floor(hundredths)) return false;
  version = static_cast<int>(hundredths);
  return true;
}

bool ToShare(const std::string& text, double& share) {
  return ToDouble(text, share) && share >= 0 && share <= 1;
}

const char* const kValued[] = {
    "--model",        "--transport", "--com",          "--firmware",      "--serial",
    "--description",  "--forward",   "--reverse",      "--vswr",          "--return-loss",
    "--par",          "--noise",     "--pulse-power",  "--pulse-duty",    "--pulse-width",
    "--pulse-period", "--ccdf-par",  "--ccdf-average", "--time-scale",    "--drop",
    "--corrupt",      "--delay",     "--delay-share",  "--hang-up-after", "--seed"};

bool IsValued(const std::string& name) {
  for (const char* v : kValued) {
    if (name == v) return true;
  }
  return false;
}

}  // namespace

std::string SimUsage() {
  return "usage: wattrix-sim --model NAME [options]\n"
         "       wattrix-sim --help | --version\n"
         "Serves a simulated sensor until SIGINT or SIGTERM; prints port=<n> (USB: port=-1) when ready.\n"
         "\n"
         "sensor:\n"
         "  --model NAME          PX420A PX430A PX440A PX450A PX470A PX420B PX430B PX450B PX470B\n"
         "  --transport T         serial (default), usb-xp (single handle) or usb-vista (two pipes)\n"
         "  --com N               COM number to register (serial; default: the first free one)\n"
         "  --firmware V          firmware version, 2.91 or 291 (default 2.91)\n"
         "  --serial S            serial number (default 123456)\n"
         "  --description TEXT    port description (default \"Wattrix simulated <model>\")\n"
         "  --baud-pacing         send replies at 9600 baud instead of at once\n"
         "\n"
         "signal:\n"
         "  --forward DBM         average / forward power (default 40, terminating models -5)\n"
         "  --reverse DBM         reverse power (directional models)\n"
         "  --vswr RATIO          reverse power from a VSWR (default 1.5)\n"
         "  --return-loss DB      reverse power from a return loss\n"
         "  --par DB              peak readings above the average (default 3)\n"
         "  --noise DB            standard deviation of every reading (default 0.02)\n"
         "  --pulse-power DBM     power while the pulse is on (default: the forward power)\n"
         "  --pulse-duty PERCENT  duty cycle (default 25)\n"
         "  --pulse-width US      burst width in microseconds (default 577)\n"
         "  --pulse-period US     pulse period; sets the duty cycle from the width\n"
         "  --ccdf-par DB         CCDF: 0.01 % level above the average (default: by technology,\n"
         "                        9.64 = Rayleigh envelope; GSM is a constant envelope)\n"
         "  --ccdf-average DBM    CCDF: average power of the sweeps (default: the forward power)\n"
         "  --time-scale X        simulated seconds per second for logging (default 1)\n"
         "\n"
         "faults (deterministic for a seed):\n"
         "  --drop SHARE          share of replies never sent (0..1)\n"
         "  --corrupt SHARE       share of replies with one byte changed (0..1)\n"
         "  --delay MS            hold replies back this long\n"
         "  --delay-share SHARE   share of replies that are held back (default 1)\n"
         "  --hang-up-after N     drop the line after N exchanges\n"
         "  --seed N              seed of signals and faults (default 1)\n";
}

bool ParseSimOptions(const std::vector<std::string>& args, SimProgramOptions& options, std::string& error) {
  std::map<std::string, std::string> values;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const auto& name = args[i];
    if (name == "--help" || name == "-h") {
      options.help = true;
      return true;
    }
    if (name == "--version") {
      options.version = true;
      return true;
    }
    if (name == "--baud-pacing") {
      options.baudPacing = true;
      continue;
    }
    if (!IsValued(name)) {
      error = "unknown option '" + name + "'";
      return false;
    }
    if (i + 1 >= args.size()) {
      error = "missing value for " + name;
      return false;
    }
    values[name] = args[++i];
  }
  const auto value = [&](const char* name) -> std::optional<std::string> {
    const auto it = values.find(name);
    return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
  const auto bad = [&](const char* name) {
    error = "bad value for " + std::string(name) + ": '" + values[name] + "'";
    return false;
  };

  const auto modelName = value("--model");
  if (!modelName) {
    error = "--model is required";
    return false;
  }
  const int modelCode = ModelCodeByName(*modelName);
  if (ModelNameByCode(modelCode) != *modelName) {
    error = "unknown model '" + *modelName + "'";
    return false;
  }
  options.config = SimConfig::ForModel(modelCode);
  auto& c = options.config;
  auto& s = c.signals;
  auto& f = c.faults;
  options.description = "Wattrix simulated " + *modelName;

  if (auto t = value("--transport")) {
    if (*t == "serial")
      options.transport = SimTransport::kSerial;
    else if (*t == "usb-xp")
      options.transport = SimTransport::kUsbSingleHandle;
    else if (*t == "usb-vista")
      options.transport = SimTransport::kUsbTwoPipe;
    else
      return bad("--transport");
  }
  long long n = 0;
  if (value("--com")) {
    if (!ToInt(values["--com"], 1, INT_MAX, n)) return bad("--com");
    options.comNumber = static_cast<int>(n);
  }
  if (value("--firmware") && !ToFirmware(values["--firmware"], c.firmwareVersion)) return bad("--firmware");
  if (value("--serial")) {
    if (!ToInt(values["--serial"], INT_MIN, INT_MAX, n)) return bad("--serial");
    c.serialNumber = static_cast<int>(n);
  }
  if (auto d = value("--description")) options.description = *d;

  // Plain numbers: name, target, check.
  struct Number {
    const char* name;
    double* target;
    bool (*valid)(double);
  };
  const Number numbers[] = {
      {"--forward", &s.forwardDbm, [](double) { return true; }},
      {"--par", &s.peakToAverageDb, [](double v) { return v >= 0; }},
      {"--noise", &s.noiseDb, [](double v) { return v >= 0; }},
      {"--pulse-width", &s.burstWidthUs, [](double v) { return v > 0; }},
      {"--ccdf-par", &s.ccdfPeakToAverageDb, [](double v) { return v >= 0; }},
      {"--ccdf-average", &s.ccdfAverageDbm, [](double) { return true; }},
      {"--time-scale", &s.timeScale, [](double v) { return v > 0; }},
  };
  for (const auto& number : numbers) {
    if (!value(number.name)) continue;
    if (!ToDouble(values[number.name], *number.target) || !number.valid(*number.target))
      return bad(number.name);
  }
  double x = 0;
  if (value("--reverse")) {
    if (!ToDouble(values["--reverse"], s.reverseDbm)) return bad("--reverse");
  } else if (value("--return-loss")) {
    if (!ToDouble(values["--return-loss"], x) || x < 0) return bad("--return-loss");
    s.reverseDbm = ReverseForReturnLoss(s.forwardDbm, x);
  } else {
    double vswr = 1.5;
    if (value("--vswr") && (!ToDouble(values["--vswr"], vswr) || vswr < 1)) return bad("--vswr");
    s.reverseDbm = ReverseForVswr(s.forwardDbm, vswr);
  }
  s.pulsePowerDbm = s.forwardDbm;
  if (value("--pulse-power") && !ToDouble(values["--pulse-power"], s.pulsePowerDbm))
    return bad("--pulse-power");
  if (value("--pulse-duty")) {
    if (!ToDouble(values["--pulse-duty"], x) || x <= 0 || x > 100) return bad("--pulse-duty");
    s.dutyCycle = x / 100.0;
  }
  if (value("--pulse-period")) {
    if (!ToDouble(values["--pulse-period"], x) || x < s.burstWidthUs) return bad("--pulse-period");
    s.dutyCycle = s.burstWidthUs / x;
  }

  if (value("--drop") && !ToShare(values["--drop"], f.dropShare)) return bad("--drop");
  if (value("--corrupt") && !ToShare(values["--corrupt"], f.corruptShare)) return bad("--corrupt");
  if (value("--delay-share") && !ToShare(values["--delay-share"], f.delayShare)) return bad("--delay-share");
  if (value("--delay")) {
    if (!ToInt(values["--delay"], 0, 3'600'000, n)) return bad("--delay");
    f.delayMs = static_cast<int>(n);
  }
  if (value("--hang-up-after")) {
    if (!ToInt(values["--hang-up-after"], 0, INT_MAX, n)) return bad("--hang-up-after");
    f.hangUpAfter = static_cast<int>(n);
  }
  if (value("--seed")) {
    if (!ToInt(values["--seed"], 0, LLONG_MAX, n)) return bad("--seed");
    f.seed = static_cast<std::uint64_t>(n);
  }
  return true;
}

}  // namespace wattrix::sim
