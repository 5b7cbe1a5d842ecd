#include "core/device/IoCanceller.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <cerrno>
#include <ctime>

namespace wattrix {

IoCanceller::IoCanceller() : m_eventFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

IoCanceller::~IoCanceller() {
  if (m_eventFd >= 0) ::close(m_eventFd);
}

void IoCanceller::Cancel() {
  m_generation.fetch_add(1, std::memory_order_acq_rel);
  if (m_eventFd < 0) return;
  const std::uint64_t one = 1;
  // The counter only fails when it would overflow, and then it is signalled anyway.
  [[maybe_unused]] const ssize_t n = ::write(m_eventFd, &one, sizeof one);
}

void IoCanceller::Drain() {
  std::uint64_t value = 0;
  while (::read(m_eventFd, &value, sizeof value) > 0) {
  }
}

IoCanceller::Clock::time_point IoCanceller::DeadlineAfter(int timeoutMs) {
  if (timeoutMs < 0) return Clock::time_point::max();
  return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

IoCanceller::WaitResult IoCanceller::Wait(std::uint64_t ticket, int fd, short events,
                                          Clock::time_point deadline, short* revents) {
  if (revents) *revents = 0;
  if (m_eventFd < 0) return WaitResult::kFailed;
  for (;;) {
    if (IsCancelled(ticket)) return WaitResult::kCancelled;
    pollfd fds[2] = {{m_eventFd, POLLIN, 0}, {fd, events, 0}};
    const nfds_t count = fd >= 0 ? 2 : 1;
    timespec wait{};
    timespec* waitPtr = nullptr;
    if (deadline != Clock::time_point::max()) {
      const auto left = deadline - Clock::now();
      if (left <= Clock::duration::zero()) return WaitResult::kTimedOut;
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      wait.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
      wait.tv_nsec = static_cast<long>(ns % 1'000'000'000);
      waitPtr = &wait;
    }
    const int n = ::ppoll(fds, count, waitPtr, nullptr);
    if (n < 0) {
      if (errno == EINTR) continue;
      return WaitResult::kFailed;
    }
    if (n == 0) return WaitResult::kTimedOut;
    if (fds[0].revents & POLLIN) {
      if (IsCancelled(ticket)) return WaitResult::kCancelled;
      // A wake-up left from a cancel older than this call.
      Drain();
    }
    if (count == 2 && fds[1].revents != 0) {
      if (revents) *revents = fds[1].revents;
      return WaitResult::kReady;
    }
  }
}

}  // namespace wattrix
