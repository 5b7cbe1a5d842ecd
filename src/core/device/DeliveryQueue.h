#pragma once

#include "core/device/CcdfHistogram.h"
#include "core/device/ReadingSink.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

namespace wattrix {

// Hands the acquisition thread's deliveries over to the thread that owns a
// window's logic: registered with AppContext in place of the logic, it
// copies each delivery into a queue and returns at once; the owner's loop
// calls Dispatch, which runs the deliveries on the owner's thread against
// the real receiver. Used where there is no event loop (the command-line
// tool, tests); the GUI hops with a queued call instead.
class DeliveryQueue final : public ReadingSink {
 public:
  DeliveryQueue() = default;
  DeliveryQueue(const DeliveryQueue&) = delete;
  DeliveryQueue& operator=(const DeliveryQueue&) = delete;

  void OnAverageReading(int status, std::int32_t power) override;
  void OnReverseReading(int status, std::int32_t power) override;
  void OnPeakReading(int status, std::int32_t power) override;
  void OnAverageReverseReading(int status, std::int32_t forward, std::int32_t reverse) override;
  void OnPulseReading(int status, std::int32_t pulse, std::int32_t c1, std::int32_t c2, std::int32_t c3,
                      std::int32_t timebase) override;
  void OnCcdfAcquired(int status, const CcdfHistogram& histogram) override;

  // Waits up to `timeoutMs` for a delivery, then runs every queued one
  // against `target` in arrival order; the number run (0 on time-out).
  int Dispatch(ReadingSink& target, int timeoutMs);
  // Deliveries waiting.
  std::size_t Pending() const;

 private:
  using Call = std::function<void(ReadingSink&)>;
  void Push(Call call);

  mutable std::mutex m_mutex;
  std::condition_variable m_cv;
  std::deque<Call> m_calls;
};

}  // namespace wattrix
