#pragma once

#include "sim/SimConfig.h"

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace wattrix::sim {

// Readings in the sensor's units (0.01 dB) with Gaussian noise, drawn from
// one seeded generator so that a run can be repeated exactly.
class SignalGenerator final {
 public:
  SignalGenerator(const SimSignals& signals, std::uint64_t seed);

  std::int32_t Average();
  std::int32_t Reverse();
  std::int32_t Peak();
  // Eleven peak values of one [GP] answer.
  std::array<std::int32_t, 11> PeakSeries();
  // [GU]: pulse power, on-samples, all samples, bursts, timebase code.
  // The host derives duty = on / all and width = on / bursts * w(code).
  std::array<std::int32_t, 5> Pulse(int timebaseCode);
  // Counts of one CCDF sweep of `samples` samples in `bins` bins, bin i
  // holding powers around firstDbm + i * stepDb (samples beyond either
  // end fall into the end bins).
  std::vector<std::uint16_t> CcdfSweep(int samples, std::size_t bins, double firstDbm, double stepDb,
                                       double averageDbm, double peakToAverageDb);

  // Sample period in microseconds for a timebase code (1, 2, 4, 8, 16).
  static double SamplePeriodUs(int timebaseCode);
  // Shape of the Weibull power distribution whose 0.01 % level lies
  // `peakToAverageDb` above its mean (1 = Rayleigh envelope).
  static double WeibullShapeFor(double peakToAverageDb);

  const SimSignals& Signals() const { return m_signals; }
  SimSignals& MutableSignals() { return m_signals; }

 private:
  std::int32_t Hundredths(double dbm);
  double Noise();

  SimSignals m_signals;
  std::mt19937_64 m_random;
};

}  // namespace wattrix::sim
