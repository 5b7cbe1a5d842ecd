#pragma once

namespace wattrix {

// What a live window asks the acquisition thread for. The values are the
// request states the measurement window cycles through.
enum class RequestKind : int {
  Average = 0,
  AverageReverse = 1,  // forward and reverse power in one reply
  Peak = 2,
  Reverse = 3,
  Pulse = 4,
  Ccdf = 5,
};

}  // namespace wattrix
