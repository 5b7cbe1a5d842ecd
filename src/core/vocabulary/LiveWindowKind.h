#pragma once

namespace wattrix {

// The three live windows a connected sensor feeds, one of each at most: the
// measurement window (AVG, PEAK and AVG & PEAK), PULSE and CCDF. The main
// frame's current mode is one of them.
enum class LiveWindowKind {
  Measurement,
  Pulse,
  Ccdf,
};

}  // namespace wattrix
