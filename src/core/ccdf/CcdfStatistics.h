#pragma once

#include <array>
#include <cstdint>

namespace wattrix {

// One point of the CCDF curve, in the order the graph receives it: the
// base-10 logarithm of the probability as a fraction (−2 is 1 %), then the
// power above the average in dB. The graph swaps them into (x, y).
struct CcdfPoint {
  float logProbability = 0;
  float relativePower = 0;
  friend bool operator==(const CcdfPoint&, const CcdfPoint&) = default;
};

// The probabilities of LevelAt and the levels of ProbabilityAt, in index order.
inline constexpr std::array<double, 5> kCcdfProbabilities{10.0, 1.0, 0.1, 0.01, 0.001};
inline constexpr std::array<double, 5> kCcdfLevels{4.0, 8.0, 12.0, 16.0, 20.0};

// What the CCDF panels print about the merged sweeps.
struct CcdfStatistics {
  // Samples in the merged histogram. 64 bits so that a faulty block of
  // huge counts cannot wrap it (real sweeps hold 10,000 samples each).
  std::uint64_t SampleTotal = 0;
  double AveragePower = 0;  // dBm, technology correction included
  double PeakPower = 0;     // dBm of the bin where the curve crosses 0.01 %
  double CrestFactor = 0;   // PeakPower − AveragePower, dB
  // dB above the average where the curve passes 10 %, 1 %, 0.1 %, 0.01 %, 0.001 %.
  std::array<double, 5> LevelAt{};
  // Percent at 4, 8, 12, 16 and 20 dB above the average.
  std::array<double, 5> ProbabilityAt{};
};

}  // namespace wattrix
