#pragma once

#include <cstdint>

namespace wattrix {

// a × b / c through a 64-bit product, rounded to the nearest integer with
// halves away from zero; −1 when c is 0 or the result leaves the 32-bit
// range. Layout code that scales table coordinates relies on exactly this
// rounding.
constexpr int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  std::int64_t n = static_cast<std::int64_t>(a) * b;
  std::int64_t d = c;
  if (d < 0) {
    n = -n;
    d = -d;
  }
  const std::int64_t q = n >= 0 ? (n + d / 2) / d : (n - d / 2) / d;
  if (q > 2147483647 || q < -2147483647) return -1;
  return static_cast<int>(q);
}

}  // namespace wattrix
