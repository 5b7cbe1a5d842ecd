#include "core/device/DeliveryQueue.h"

#include <chrono>
#include <utility>

namespace wattrix {

void DeliveryQueue::OnAverageReading(int status, std::int32_t power) {
  Push([=](ReadingSink& sink) { sink.OnAverageReading(status, power); });
}

void DeliveryQueue::OnReverseReading(int status, std::int32_t power) {
  Push([=](ReadingSink& sink) { sink.OnReverseReading(status, power); });
}

void DeliveryQueue::OnPeakReading(int status, std::int32_t power) {
  Push([=](ReadingSink& sink) { sink.OnPeakReading(status, power); });
}

void DeliveryQueue::OnAverageReverseReading(int status, std::int32_t forward, std::int32_t reverse) {
  Push([=](ReadingSink& sink) { sink.OnAverageReverseReading(status, forward, reverse); });
}

void DeliveryQueue::OnPulseReading(int status, std::int32_t pulse, std::int32_t c1, std::int32_t c2,
                                   std::int32_t c3, std::int32_t timebase) {
  Push([=](ReadingSink& sink) { sink.OnPulseReading(status, pulse, c1, c2, c3, timebase); });
}

void DeliveryQueue::OnCcdfAcquired(int status, const CcdfHistogram& histogram) {
  // The histogram is valid only during the call: keep a copy.
  Push([status, copy = histogram](ReadingSink& sink) { sink.OnCcdfAcquired(status, copy); });
}

void DeliveryQueue::Push(Call call) {
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
