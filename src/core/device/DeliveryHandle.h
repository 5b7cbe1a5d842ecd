#pragma once

#include "core/device/ReadingSink.h"

#include <mutex>

namespace wattrix {

// The address a window gives with each request: the acquisition thread
// delivers the answer through it. The window owns it (shared, so that a
// request in flight keeps it alive) and revokes it before the receiver
// goes: once Revoke has returned, the receiver is never called again, even
// when a delivery was under way (Revoke waits for it to end). A receiver
// may revoke its own handle during its delivery without waiting for itself.
class DeliveryHandle final {
 public:
  explicit DeliveryHandle(ReadingSink& sink) : m_sink(&sink) {}
  DeliveryHandle(const DeliveryHandle&) = delete;
  DeliveryHandle& operator=(const DeliveryHandle&) = delete;

  // Calls the receiver with `reading` when wanted() still holds, while
  // holding the handle so that it cannot be revoked meanwhile. False when
  // the handle was revoked.
  template <typename Wanted>
  bool Deliver(const Reading& reading, Wanted&& wanted) {
    std::lock_guard lock(m_mutex);
    if (m_sink == nullptr) return false;
    if (wanted()) m_sink->OnReading(reading);
    return true;
  }
  bool Deliver(const Reading& reading) {
    return Deliver(reading, [] { return true; });
  }

  void Revoke();
  bool Revoked() const;

 private:
  // Recursive so that a receiver may revoke during its own delivery.
  mutable std::recursive_mutex m_mutex;
  ReadingSink* m_sink;
};

}  // namespace wattrix
