#include "sim/SignalGenerator.h"

#include <algorithm>
#include <cmath>

namespace wattrix::sim {

namespace {

// Level above the mean at which the distribution passes 0.01 %.
double WeibullPeakToAverageDb(double shape) {
  return 10.0 * std::log10(std::pow(std::log(1e4), 1.0 / shape) / std::tgamma(1.0 + 1.0 / shape));
}

constexpr double kMinShape = 0.45;    // about 18 dB
constexpr double kMaxShape = 2000.0;  // about 0.004 dB: a constant envelope

// Width of the window the pulse answer counts over.
constexpr double kPulseWindowUs = 100'000.0;

}  // namespace

SignalGenerator::SignalGenerator(const SimSignals& signals, std::uint64_t seed)
    : m_signals(signals), m_random(seed) {}

double SignalGenerator::Noise() {
  if (!(m_signals.noiseDb > 0)) return 0.0;
  std::normal_distribution<double> normal(0.0, m_signals.noiseDb);
  return normal(m_random);
}

std::int32_t SignalGenerator::Hundredths(double dbm) {
  const double value = std::round((dbm + Noise()) * 100.0);
  return static_cast<std::int32_t>(std::clamp(value, -2.0e9, 2.0e9));
}

std::int32_t SignalGenerator::Average() { return Hundredths(m_signals.forwardDbm); }

std::int32_t SignalGenerator::Reverse() { return Hundredths(m_signals.reverseDbm); }

std::int32_t SignalGenerator::Peak() { return Hundredths(m_signals.forwardDbm + m_signals.peakToAverageDb); }

std::array<std::int32_t, 11> SignalGenerator::PeakSeries() {
  std::array<std::int32_t, 11> values{};
  for (auto& v : values) v = Peak();
  return values;
}

double SignalGenerator::SamplePeriodUs(int timebaseCode) {
  switch (timebaseCode) {
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

std::array<std::int32_t, 5> SignalGenerator::Pulse(int timebaseCode) {
  const double period = SamplePeriodUs(timebaseCode);
  const double duty = std::clamp(m_signals.dutyCycle, 1e-4, 1.0);
  const double onSamples = std::max(1.0, std::round(std::max(m_signals.burstWidthUs, 0.0) / period));
  const double cycleSamples = std::max(onSamples, std::round(onSamples / duty));
  const double bursts = std::max(1.0, std::floor(kPulseWindowUs / (cycleSamples * period)));
  // One sample more or less at the burst edges now and then.
  std::uniform_int_distribution<int> edge(-1, 1);
  const double on = std::max(1.0, bursts * onSamples + (m_signals.noiseDb > 0 ? edge(m_random) : 0));
  return {Hundredths(m_signals.pulsePowerDbm), static_cast<std::int32_t>(on),
          static_cast<std::int32_t>(std::max(on, bursts * cycleSamples)), static_cast<std::int32_t>(bursts),
          timebaseCode};
}

double SignalGenerator::WeibullShapeFor(double peakToAverageDb) {
  if (!(peakToAverageDb > WeibullPeakToAverageDb(kMaxShape))) return kMaxShape;
  if (peakToAverageDb >= WeibullPeakToAverageDb(kMinShape)) return kMinShape;
  // The level falls as the shape grows: bisect on the logarithm of the shape.
  double low = std::log(kMinShape);
  double high = std::log(kMaxShape);
  for (int i = 0; i < 80; ++i) {
    const double mid = 0.5 * (low + high);
    if (WeibullPeakToAverageDb(std::exp(mid)) > peakToAverageDb) {
      low = mid;
    } else {
      high = mid;
    }
  }
  return std::exp(0.5 * (low + high));
}

std::vector<std::uint16_t> SignalGenerator::CcdfSweep(int samples, std::size_t bins, double firstDbm,
                                                      double stepDb, double averageDbm,
                                                      double peakToAverageDb) {
  std::vector<std::uint16_t> counts(bins, 0);
  if (bins == 0 || samples <= 0) return counts;
  const double shape = WeibullShapeFor(peakToAverageDb);
  const double meanMw = std::pow(10.0, averageDbm / 10.0);
  const double scale = meanMw / std::tgamma(1.0 + 1.0 / shape);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  for (int i = 0; i < samples; ++i) {
    const double u = std::max(uniform(m_random), 1e-300);
    const double powerMw = scale * std::pow(-std::log(u), 1.0 / shape);
    const double bin = std::round((10.0 * std::log10(powerMw) - firstDbm) / stepDb);
    const auto index = static_cast<std::size_t>(std::clamp(bin, 0.0, static_cast<double>(bins - 1)));
    if (counts[index] < 0xFFFF) ++counts[index];
  }
  return counts;
}

}  // namespace wattrix::sim
