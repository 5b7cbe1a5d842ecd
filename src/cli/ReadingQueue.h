#pragma once

#include "core/device/DeliveryHandle.h"
#include "core/device/DeliveryQueue.h"

#include <memory>

namespace wattrix::cli {

// A delivery queue and the handle a session gives with its requests while
// it lives: the command's own loop passes the acquisition thread's
// readings on to the session on its thread, as a window's event loop
// would. The handle is revoked when the queue goes.
class ReadingQueue final {
 public:
  ReadingQueue();
  ~ReadingQueue();
  ReadingQueue(const ReadingQueue&) = delete;
  ReadingQueue& operator=(const ReadingQueue&) = delete;

  const std::shared_ptr<DeliveryHandle>& Handle() const { return m_handle; }
  // Waits up to `timeoutMs` for readings and passes them to `target`.
  int Dispatch(ReadingSink& target, int timeoutMs) { return m_queue.Dispatch(target, timeoutMs); }

 private:
  DeliveryQueue m_queue;
  std::shared_ptr<DeliveryHandle> m_handle;
};

}  // namespace wattrix::cli
