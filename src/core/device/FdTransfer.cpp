#include "core/device/FdTransfer.h"

#include "core/device/UniqueFd.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>

namespace wattrix::fdio {

namespace {

using WaitResult = IoCanceller::WaitResult;

Outcome FromWait(WaitResult result) {
  switch (result) {
    case WaitResult::kTimedOut:
      return Outcome::kTimedOut;
    case WaitResult::kCancelled:
      return Outcome::kCancelled;
    default:
      return Outcome::kFailed;
  }
}

// At most this much is thrown away by one DiscardInput, so that a writer
// that never stops cannot hold it for ever.
constexpr std::size_t kDiscardLimit = 1 << 20;

}  // namespace

Outcome ReadGather(int fd, IoCanceller& canceller, std::uint64_t ticket, std::uint8_t* buffer,
                   std::size_t count, IoCanceller::Clock::time_point deadline, std::size_t& got) {
  got = 0;
  while (got < count) {
    const ssize_t n = ::read(fd, buffer + got, count - got);
    if (n > 0) {
      got += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EIO) return Outcome::kFailed;
    // Nothing there (EAGAIN), or no writer (end of file; EIO on a pty whose
    // other side closed). poll tells a writer that left (POLLHUP) from a
    // FIFO's writer that never came, which is waited for like a silent sensor.
    const bool endOfFile = n == 0 || errno == EIO;
    short revents = 0;
    const auto result = canceller.Wait(ticket, fd, POLLIN, deadline, &revents);
    if (result != WaitResult::kReady) return FromWait(result);
    const bool hungUp = (revents & (POLLHUP | POLLERR)) != 0;
    if (hungUp && (endOfFile || !(revents & POLLIN))) return Outcome::kHungUp;
  }
  return Outcome::kComplete;
}

Outcome WriteAll(int fd, IoCanceller& canceller, std::uint64_t ticket, const std::uint8_t* data,
                 std::size_t count, IoCanceller::Clock::time_point deadline, std::size_t& written) {
  written = 0;
  while (written < count) {
    const ssize_t n = WriteWithoutSigpipe(fd, data + written, count - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EPIPE || errno == EIO)) return Outcome::kHungUp;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return Outcome::kFailed;
    short revents = 0;
    const auto result = canceller.Wait(ticket, fd, POLLOUT, deadline, &revents);
    if (result != WaitResult::kReady) return FromWait(result);
    if ((revents & (POLLHUP | POLLERR)) && !(revents & POLLOUT)) return Outcome::kHungUp;
  }
  return Outcome::kComplete;
}

void DiscardInput(int fd) {
  if (::isatty(fd)) {
    ::tcflush(fd, TCIFLUSH);
    return;
  }
  std::uint8_t scrap[4096];
  std::size_t total = 0;
  while (total < kDiscardLimit) {
    const ssize_t n = ::read(fd, scrap, sizeof scrap);
    if (n > 0) {
      total += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    break;
  }
}

bool MakeRaw(int fd) {
  termios t{};
  if (::tcgetattr(fd, &t) != 0) return false;
  ::cfmakeraw(&t);
  t.c_cflag |= CREAD | CLOCAL;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

}  // namespace wattrix::fdio
