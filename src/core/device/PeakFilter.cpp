#include "core/device/PeakFilter.h"

#include <algorithm>
#include <functional>

namespace wattrix::protocol {

std::int32_t ApplyPeakFilter(const PeakValues& values, PeakCarry& carry) {
  std::array<std::int32_t, 13> ranked{};
  ranked[0] = values[0];
  ranked[1] = carry[0];
  ranked[2] = carry[1];
  std::copy(values.begin() + 1, values.end(), ranked.begin() + 3);
  std::sort(ranked.begin(), ranked.end(), std::greater<>());
  carry = {ranked[1], ranked[2]};
  return ranked[1];
}

}  // namespace wattrix::protocol
