#pragma once

#include <chrono>

namespace wattrix::cli {

// Whether a command's loop still gets anywhere: a count (readings stored,
// sweeps processed) that has not changed for longer than the limit means
// the sensor is given up. The time runs from construction.
class ProgressWatch final {
 public:
  using Clock = std::chrono::steady_clock;

  ProgressWatch(Clock::duration limit, long progress);

  // Notes the count now reached; true once it has stayed the same for
  // longer than the limit.
  bool Stalled(long progress);

 private:
  Clock::duration m_limit;
  long m_progress;
  Clock::time_point m_since;
};

}  // namespace wattrix::cli
