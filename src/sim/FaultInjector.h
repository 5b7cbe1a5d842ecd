#pragma once

#include "sim/ReplyFrames.h"
#include "sim/SimConfig.h"

#include <random>

namespace wattrix::sim {

// Applies the configured faults to the replies, deterministically for a
// seed: dropped replies, one changed byte, a delay, and a hang-up after a
// number of exchanges.
class FaultInjector final {
 public:
  explicit FaultInjector(const SimFaults& faults);

  // Counts one exchange (a command received). False once the sensor has
  // hung up: commands after the last allowed exchange go unanswered.
  bool CountExchange();
  bool HungUp() const { return m_hungUp; }
  int Exchanges() const { return m_exchanges; }

  // Decides the fate of one reply: false when it is dropped; otherwise it
  // may have been corrupted and `delayMs` tells how long it waits.
  bool Apply(Bytes& reply, int& delayMs);

 private:
  bool Draw(double share);

  SimFaults m_faults;
  std::mt19937_64 m_random;
  int m_exchanges = 0;
  bool m_hungUp = false;
};

}  // namespace wattrix::sim
