#pragma once

#include "core/device/ReadingSink.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace wattrix {

// Hands the acquisition thread's readings over to the thread that owns a
// window's logic: the window's delivery handle points at the queue, which
// keeps each reading and returns at once; the owner's loop calls Dispatch,
// which passes them on, unchanged and on the owner's thread, to the real
// receiver. Used where there is no event loop (the command-line tool,
// tests); the GUI hops with a queued call instead.
class DeliveryQueue final : public ReadingSink {
 public:
  DeliveryQueue() = default;
  DeliveryQueue(const DeliveryQueue&) = delete;
  DeliveryQueue& operator=(const DeliveryQueue&) = delete;

  // Called on the acquisition thread.
  void OnReading(const Reading& reading) override;
  // Waits up to `timeoutMs` for a reading, then passes every queued one to
  // `target` in arrival order; the number passed (0 on time-out).
  int Dispatch(ReadingSink& target, int timeoutMs);
  // Readings waiting.
  std::size_t Pending() const;

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_cv;
  std::deque<Reading> m_readings;
};

}  // namespace wattrix
