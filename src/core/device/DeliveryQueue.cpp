#include "core/device/DeliveryQueue.h"

#include <chrono>
#include <utility>

namespace wattrix {

void DeliveryQueue::Post(Call call) {
  {
    std::lock_guard lock(m_mutex);
    m_calls.push_back(std::move(call));
  }
  m_cv.notify_one();
}

int DeliveryQueue::Dispatch(ReadingSink& target, int timeoutMs) {
  std::deque<Call> calls;
  {
    std::unique_lock lock(m_mutex);
    m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !m_calls.empty(); });
    calls.swap(m_calls);
  }
  // Run outside the lock: the receiver may request the next reading, and
  // the acquisition thread may deliver again meanwhile.
  for (Call& call : calls) call(target);
  return static_cast<int>(calls.size());
}

std::size_t DeliveryQueue::Pending() const {
  std::lock_guard lock(m_mutex);
  return m_calls.size();
}

}  // namespace wattrix
