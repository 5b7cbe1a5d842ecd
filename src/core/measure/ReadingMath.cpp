#include "core/measure/ReadingMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wattrix::reading_math {

namespace {

struct CorrectionRow {
  int technology;
  double k;
  double a1;
  double a0;
  double b1;
  double b0;
  double above1000;
  double pulseTrail;  // added after the correction of pulse power
};

// Rows of the technologies that are corrected. CDMA and EV-DO share one.
constexpr CorrectionRow kAverageRows[] = {
    {0, 34, 0.6349, 0.1991, -0.029, 0.0597, 1.3, 0}, {1, 35, 0.478, -0.8186, -0.026, 0.0532, 0.2, 0},
    {2, 33, 0.4259, -0.8828, -0.022, 0.0447, 0, 0},  {3, 36, 0.5383, -0.3433, -0.031, 0.0655, 0.7, 0},
    {4, 34, 0.271, -0.5422, -0.015, 0.0292, 0.2, 0}, {5, 33, 0.4259, -0.8828, -0.022, 0.0447, 0, 0},
};
constexpr CorrectionRow kPulseRows[] = {
    {0, 34, 0.6349, 0.1991, -0.029, 0.0597, 1.5, -0.45},
    {3, 36, 0.5383, -0.3433, -0.031, 0.0655, 0.7, 2.2},
    {4, 34, 0.271, -0.5422, -0.015, 0.0292, 0.2, -0.5},
};

template <std::size_t N>
const CorrectionRow* FindRow(const CorrectionRow (&rows)[N], int technology) {
  for (const auto& row : rows) {
    if (row.technology == technology) return &row;
  }
  return nullptr;
}

double Correction(const CorrectionRow& row, double f, double power) {
  if (f < 300) return 0;
  if (f > 1000) return row.above1000;
  const double l = std::log(f / 100.0 - 2.0);
  return (row.a1 * l + row.a0) + std::fabs(power - row.k) * (row.b1 * l + row.b0);
}

float NotANumberIfInfinite(double value) {
  return std::isinf(value) ? std::numeric_limits<float>::quiet_NaN() : static_cast<float>(value);
}

}  // namespace

float WithOffset(int power, float offset) {
  return static_cast<float>(static_cast<double>(offset) + power / 100.0);
}

float VswrFromReturnLoss(double returnLossHundredths) {
  double vswr = kVswrNoReturnLoss;
  if (returnLossHundredths > 0) {
    const double r = std::pow(10.0, returnLossHundredths / 100.0 / 20.0);
    // r == 1 gives +inf, clamped below; a return loss so large that r
    // overflows would give inf / inf, so take the limit 1 there.
    vswr = std::isinf(r) ? 1.0 + 0.005 : (r + 1.0) / (r - 1.0) + 0.005;
  }
  return static_cast<float>(std::clamp(vswr, kVswrMin, kVswrMax));
}

float VswrFromReadings(float lastForward, float reverse) {
  double returnLoss = 0;
  if (lastForward > -100 && lastForward < 100) {
    returnLoss = (static_cast<double>(lastForward) - static_cast<double>(reverse)) * 100.0;
  }
  return VswrFromReturnLoss(returnLoss);
}

float VswrFromRaw(int forward, int reverse) {
  return VswrFromReturnLoss(static_cast<double>(forward) - static_cast<double>(reverse));
}

double AverageTechnologyCorrection(int technology, double frequencyMHz, double power) {
  const auto* row = FindRow(kAverageRows, technology);
  return row ? Correction(*row, frequencyMHz, power) : 0.0;
}

double PulseCorrected(int technology, double frequencyMHz, double power) {
  const auto* row = FindRow(kPulseRows, technology);
  if (!row) return power;
  return power - Correction(*row, frequencyMHz, power) + row->pulseTrail;
}

float Par(float peak, float lastAverage) { return peak - lastAverage; }

float DutyCyclePercent(int dutySetting, int count1, int count2) {
  const double d =
      dutySetting != 0 ? dutySetting / 1000.0 : static_cast<double>(count1) / static_cast<double>(count2);
  return NotANumberIfInfinite(d * 100.0);
}

double TimebaseMicroseconds(int timebase) {
  switch (timebase) {
    case 1:
      return 1.207;
    case 2:
      return 2.622;
    case 4:
      return 5.557;
    case 8:
      return 10.82;
    default:
      return 21.6450216450216;
  }
}

float BurstWidth(int count1, int count3, int timebase) {
  const double q = static_cast<double>(count1) / static_cast<double>(count3);
  return NotANumberIfInfinite(q * TimebaseMicroseconds(timebase));
}

}  // namespace wattrix::reading_math
