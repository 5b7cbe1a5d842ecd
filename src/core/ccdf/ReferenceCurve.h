#pragma once

#include <array>
#include <vector>

namespace wattrix {

// The CCDF of Gaussian noise drawn behind the measured curve: a table of 25
// probabilities at 0, 0.5 … 12 dB above the average, resampled by cubic
// Lagrange interpolation to 800 values of log10(probability as a fraction).
class ReferenceCurve final {
 public:
  static constexpr int kNodeCount = 25;
  static constexpr int kValueCount = 800;
  // Drawing walks this many x positions, i × 12.5 / 800 dB; beyond the
  // 800 values it draws at kBeyond (below the axis, so along its bottom).
  static constexpr int kDrawCount = 1280;
  static constexpr float kBeyond = -5.0f;

  // Probabilities in percent of the table.
  static const std::array<double, kNodeCount>& TablePercent();
  // The 800 resampled values.
  static std::vector<float> Build();
  // x in dB of drawing position i.
  static double DrawX(int i) { return i * 12.5 / 800.0; }
  // y of drawing position i for the given values (kBeyond past their end).
  static float DrawY(const std::vector<float>& values, int i);
};

}  // namespace wattrix
