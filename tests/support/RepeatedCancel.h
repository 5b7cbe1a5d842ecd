#pragma once

#include "core/device/PowerDevice.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace wattrix::test {

// Cancels the device's pending I/O from another thread every few
// milliseconds while it lives, the way a disconnect does, so that a cancel
// cannot slip in before the call under test has started waiting.
class RepeatedCancel final {
 public:
  explicit RepeatedCancel(CPowerDevice& device, int firstAfterMs = 30)
      : m_thread([this, &device, firstAfterMs] {
          std::this_thread::sleep_for(std::chrono::milliseconds(firstAfterMs));
          while (!m_done.load()) {
            device.CancelPendingIo();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
          }
        }) {}
  ~RepeatedCancel() {
    m_done.store(true);
    m_thread.join();
  }
  RepeatedCancel(const RepeatedCancel&) = delete;
  RepeatedCancel& operator=(const RepeatedCancel&) = delete;

 private:
  std::atomic<bool> m_done{false};
  std::thread m_thread;
};

}  // namespace wattrix::test
