#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>

namespace wattrix {

// How a log transfer ended.
enum class LogReadResult { kDone, kFailed, kCancelled };

// Shared between the thread that transfers a log and the one that watches
// it: the bytes received of the total, and the user's cancel. A long log
// over a serial link takes minutes, so the watcher shows the progress and
// may end the transfer; nothing waits on the other side.
class LogTransferControl final {
 public:
  LogTransferControl() = default;
  LogTransferControl(const LogTransferControl&) = delete;
  LogTransferControl& operator=(const LogTransferControl&) = delete;

  // Any thread. Ends the transfer: a wait for the sensor is interrupted and
  // no further piece is read. A wait that begins just after a cancel is
  // not reached by it, so a watcher repeats Cancel until the transfer has
  // returned (it is cheap and harmless).
  void Cancel();
  bool Cancelled() const { return m_cancelled.load(std::memory_order_acquire); }

  // Any thread; Total() is 0 until the transfer has started.
  std::size_t Received() const { return m_received.load(std::memory_order_acquire); }
  std::size_t Total() const { return m_total.load(std::memory_order_acquire); }

  // The transferring side: `interrupt` ends a wait in progress and is only
  // called between Begin and End.
  void Begin(std::size_t total, std::function<void()> interrupt);
  void Advance(std::size_t received) { m_received.store(received, std::memory_order_release); }
  void End();

 private:
  std::atomic<bool> m_cancelled{false};
  std::atomic<std::size_t> m_received{0};
  std::atomic<std::size_t> m_total{0};
  std::mutex m_interruptMutex;
  std::function<void()> m_interrupt;
};

}  // namespace wattrix
