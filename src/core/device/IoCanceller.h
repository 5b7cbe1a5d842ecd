#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace wattrix {

// Lets any thread end, at once, a transport call that waits on a
// descriptor. A call takes a ticket when it starts; Cancel() ends every wait
// whose ticket it postdates, so a cancel that comes before a call started
// does not end that call.
class IoCanceller final {
 public:
  using Clock = std::chrono::steady_clock;
  enum class WaitResult { kReady, kTimedOut, kCancelled, kFailed };

  IoCanceller();
  ~IoCanceller();
  IoCanceller(const IoCanceller&) = delete;
  IoCanceller& operator=(const IoCanceller&) = delete;

  // False when the wake-up descriptor could not be made (waits then fail).
  bool IsValid() const { return m_eventFd >= 0; }

  std::uint64_t Begin() const { return m_generation.load(std::memory_order_acquire); }
  bool IsCancelled(std::uint64_t ticket) const { return Begin() != ticket; }
  // Thread-safe; ends the waits that are in progress.
  void Cancel();

  // Waits until `fd` reports one of `events` (poll bits), the deadline
  // passes or the ticket is cancelled. `fd` < 0 only sleeps (the pause
  // after a serial write). `revents` gets what the descriptor reported.
  WaitResult Wait(std::uint64_t ticket, int fd, short events, Clock::time_point deadline,
                  short* revents = nullptr);

  // Deadline `timeoutMs` from now; negative means no deadline.
  static Clock::time_point DeadlineAfter(int timeoutMs);

 private:
  void Drain();

  int m_eventFd = -1;
  std::atomic<std::uint64_t> m_generation{0};
};

}  // namespace wattrix
