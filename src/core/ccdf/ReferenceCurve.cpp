#include "core/ccdf/ReferenceCurve.h"

#include <cmath>

namespace wattrix {

const std::array<double, ReferenceCurve::kNodeCount>& ReferenceCurve::TablePercent() {
  static constexpr std::array<double, kNodeCount> kTable{
      37.3, 32.2, 28.5,  23.9, 20.2,   16.7,   13.3,   10.5,    7.91,    5.86,     4.09,    2.78,     1.83,
      1.1,  0.6,  0.351, 0.17, 0.0797, 0.0324, 0.0125, 0.00429, 0.00128, 0.000324, 0.00005, 0.0000184};
  return kTable;
}

std::vector<float> ReferenceCurve::Build() {
  std::array<double, kNodeCount> node{};
  for (int k = 0; k < kNodeCount; ++k) node[k] = std::log10(TablePercent()[k] / 100.0);

  std::vector<float> values(kValueCount);
  for (int i = 0; i < kValueCount; ++i) {
    const double t = i * 25.0 / 800.0;
    const int k = static_cast<int>(t);
    // Four consecutive nodes around t; at the ends the outermost four, so
    // the last values extrapolate past node 24.
    int j = k - 1;
    if (k <= 0) j = 0;
    if (k >= kNodeCount - 2) j = kNodeCount - 4;
    double sum = 0;
    for (int a = j; a < j + 4; ++a) {
      double weight = 1;
      for (int b = j; b < j + 4; ++b) {
        if (b != a) weight *= (t - b) / static_cast<double>(a - b);
      }
      sum += weight * node[a];
    }
    values[i] = static_cast<float>(sum);
  }
  return values;
}

float ReferenceCurve::DrawY(const std::vector<float>& values, int i) {
  return i >= 0 && i < static_cast<int>(values.size()) ? values[i] : kBeyond;
}

}  // namespace wattrix
