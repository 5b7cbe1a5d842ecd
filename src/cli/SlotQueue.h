#pragma once

#include "core/app/AppContext.h"
#include "core/device/DeliveryQueue.h"

namespace wattrix::cli {

// A delivery queue in one sink slot of the context while it lives: the
// command's own loop runs the acquisition thread's deliveries on its thread,
// as a window's event loop would.
class SlotQueue final {
 public:
  explicit SlotQueue(SinkSlot slot);
  ~SlotQueue();
  SlotQueue(const SlotQueue&) = delete;
  SlotQueue& operator=(const SlotQueue&) = delete;

  // Waits up to `timeoutMs` for deliveries and runs them against `target`.
  int Dispatch(ReadingSink& target, int timeoutMs) { return m_queue.Dispatch(target, timeoutMs); }

 private:
  SinkSlot m_slot;
  DeliveryQueue m_queue;
};

}  // namespace wattrix::cli
