#pragma once

#include "core/device/PostingSink.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace wattrix {

// Hands the acquisition thread's deliveries over to the thread that owns a
// window's logic: registered with AppContext in place of the logic, it
// copies each delivery into a queue and returns at once; the owner's loop
// calls Dispatch, which runs the deliveries on the owner's thread against
// the real receiver. Used where there is no event loop (the command-line
// tool, tests); the GUI hops with a queued call instead.
class DeliveryQueue final : public PostingSink {
 public:
  DeliveryQueue() = default;
  DeliveryQueue(const DeliveryQueue&) = delete;
  DeliveryQueue& operator=(const DeliveryQueue&) = delete;

  // Waits up to `timeoutMs` for a delivery, then runs every queued one
  // against `target` in arrival order; the number run (0 on time-out).
  int Dispatch(ReadingSink& target, int timeoutMs);
  // Deliveries waiting.
  std::size_t Pending() const;

 private:
  void Post(Call call) override;

  mutable std::mutex m_mutex;
  std::condition_variable m_cv;
  std::deque<Call> m_calls;
};

}  // namespace wattrix
