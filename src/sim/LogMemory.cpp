#include "sim/LogMemory.h"

#include <algorithm>
#include <cmath>

namespace wattrix::sim {

void LogMemory::Start(double now) {
  Clear();
  m_running = true;
  m_start = now;
  m_samplesTaken = 0;
}

void LogMemory::StopAndClear() {
  m_running = false;
  m_samplesTaken = 0;
  Clear();
}

void LogMemory::Clear() { m_values.clear(); }

void LogMemory::Advance(double now, const Sampler& sampler) {
  if (!m_running) return;
  // An interval below one second is taken as one second.
  const double interval = std::max<std::int32_t>(m_interval, 1);
  const auto target = static_cast<std::int64_t>(std::max<std::int32_t>(m_target, 0));
  // Sample k (1, 2, …) is taken k intervals after the start.
  const auto due = std::min(target, static_cast<std::int64_t>(std::floor((now - m_start) / interval)));
  while (m_samplesTaken < due) {
    ++m_samplesTaken;
    for (const int item : kItemOrder) {
      if (!(m_items & item) || m_values.size() >= kCapacity) continue;
      const auto value = std::clamp<std::int32_t>(sampler(item), 0, 0xFFFF);
      m_values.push_back(static_cast<std::uint16_t>(value));
    }
  }
  if (m_samplesTaken >= target || m_values.size() >= kCapacity) m_running = false;
}

std::array<std::int32_t, 11> LogMemory::Status() const {
  return {m_items,
          m_running ? 1 : 0,
          m_interval,
          m_target,
          m_frequency,
          m_offset,
          static_cast<std::int32_t>(m_values.size()),
          m_averaging,
          m_reference,
          static_cast<std::int32_t>(m_samplesTaken),
          static_cast<std::int32_t>(kCapacity)};
}

}  // namespace wattrix::sim
