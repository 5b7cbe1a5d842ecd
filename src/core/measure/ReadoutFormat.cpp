#include "core/measure/ReadoutFormat.h"

#include "core/platform/NumberText.h"

#include <algorithm>
#include <cmath>

namespace wattrix {

void AppendNumber(std::string& out, double x, int decimals) {
  if (decimals < 0 || decimals > 2) return;
  AppendFixed(out, x, decimals);
}

std::string FormatNumber(double x, int decimals) {
  std::string text;
  AppendNumber(text, x, decimals);
  return text;
}

std::string FormatWatts(double watts, int decimals) {
  const double magnitude = std::fabs(watts);
  std::string text;
  if (magnitude > 1.0) {
    AppendNumber(text, watts, decimals);
    text += " W";
  } else if (magnitude > static_cast<double>(0.0001f)) {
    AppendNumber(text, watts * 1000.0, decimals);
    text += " mW";
  } else {
    AppendNumber(text, watts * 1000000.0, decimals);
    text += " uW";
  }
  return text;
}

double DbmToWatts(double dbm) { return std::pow(10.0, dbm / 10.0) / 1000.0; }

std::optional<double> ReturnLossDb(double vswr) {
  if (!(vswr > 1.0)) return std::nullopt;
  if (std::isinf(vswr)) return 0.0;  // a total mismatch: (inf + 1) / (inf - 1) is 1
  const double rl = -20.0 * std::log10((vswr + 1.0) / (vswr - 1.0));
  return std::clamp(rl, -60.0, 0.0);
}

}  // namespace wattrix
