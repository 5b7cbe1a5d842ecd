#pragma once

#include <array>
#include <cstdint>

namespace wattrix::protocol {

// The two values carried between [GP] replies; both -1 at start and after
// a window's reset.
using PeakCarry = std::array<std::int32_t, 2>;
using PeakValues = std::array<std::int32_t, 11>;

constexpr PeakCarry kInitialPeakCarry{-1, -1};

// Ranks the first reply value, the carry and reply values two to eleven,
// discards the largest (a single spike) and returns the second largest;
// the carry becomes the second and third largest.
std::int32_t ApplyPeakFilter(const PeakValues& values, PeakCarry& carry);

}  // namespace wattrix::protocol
