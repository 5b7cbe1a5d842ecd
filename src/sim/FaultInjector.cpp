#include "sim/FaultInjector.h"

namespace wattrix::sim {

FaultInjector::FaultInjector(const SimFaults& faults)
    // Its own stream, so that switching a fault on does not change the signals.
    : m_faults(faults), m_random(faults.seed ^ 0x5DEECE66DULL) {}

bool FaultInjector::CountExchange() {
  if (m_hungUp) return false;
  ++m_exchanges;
  // The last exchange is still answered; the line drops after it.
  if (m_faults.hangUpAfter > 0 && m_exchanges >= m_faults.hangUpAfter) m_hungUp = true;
  return true;
}

bool FaultInjector::Draw(double share) {
  if (!(share > 0)) return false;
  if (share >= 1) return true;
  return std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < share;
}

bool FaultInjector::Apply(Bytes& reply, int& delayMs) {
  delayMs = 0;
  if (Draw(m_faults.dropShare)) return false;
  if (!reply.empty() && Draw(m_faults.corruptShare)) {
    const auto at = std::uniform_int_distribution<std::size_t>(0, reply.size() - 1)(m_random);
    const auto flip = std::uniform_int_distribution<int>(1, 255)(m_random);
    reply[at] = static_cast<std::uint8_t>(reply[at] ^ flip);
  }
  if (m_faults.delayMs > 0 && Draw(m_faults.delayShare)) delayMs = m_faults.delayMs;
  return true;
}

}  // namespace wattrix::sim
