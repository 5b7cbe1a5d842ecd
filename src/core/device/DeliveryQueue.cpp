#include "core/device/DeliveryQueue.h"

#include <chrono>
#include <utility>

namespace wattrix {

void DeliveryQueue::OnReading(const Reading& reading) {
  {
    std::lock_guard lock(m_mutex);
    m_readings.push_back(reading);
  }
  m_cv.notify_one();
}

int DeliveryQueue::Dispatch(ReadingSink& target, int timeoutMs) {
  std::deque<Reading> readings;
  {
    std::unique_lock lock(m_mutex);
    m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !m_readings.empty(); });
    readings.swap(m_readings);
  }
  // Passed on outside the lock: the receiver may request the next reading,
  // and the acquisition thread may deliver again meanwhile.
  for (const Reading& reading : readings) target.OnReading(reading);
  return static_cast<int>(readings.size());
}

std::size_t DeliveryQueue::Pending() const {
  std::lock_guard lock(m_mutex);
  return m_readings.size();
}

}  // namespace wattrix
