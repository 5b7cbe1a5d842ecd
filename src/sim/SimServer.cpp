#include "sim/SimServer.h"

#include "core/device/UniqueFd.h"
#include "sim/SimEndpoint.h"
#include "sim/SimSensor.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <vector>

namespace wattrix::sim {

namespace {

// While no host holds the pty, look for one this often.
constexpr int kReconnectPollMs = 20;
// Bytes per write, and the time they take at 9600 baud (10 bits a byte).
constexpr std::size_t kPacedChunk = 8;
constexpr auto kByteTime = std::chrono::microseconds(1042);

}  // namespace

SimServer::SimServer(SimSensor& sensor, SimEndpoint& endpoint, Options options)
    : m_sensor(sensor),
      m_endpoint(endpoint),
      m_options(options),
      m_stop(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

void SimServer::RequestStop() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = ::write(m_stop.Get(), &one, sizeof one);
}

int SimServer::PollTimeoutMs(Clock::time_point now) const {
  if (m_hostGone) return kReconnectPollMs;
  if (m_pending.empty()) return -1;
  const auto wait =
      std::chrono::duration_cast<std::chrono::milliseconds>(m_pending.front().due - now).count();
  return static_cast<int>(std::clamp<long long>(wait + 1, 0, 60'000));
}

void SimServer::TakeInput() {
  std::uint8_t buffer[4096];
  for (;;) {
    const ssize_t n = ::read(m_endpoint.InputFd(), buffer, sizeof buffer);
    if (n > 0) {
      std::vector<SimReply> replies;
      m_sensor.Feed(buffer, static_cast<std::size_t>(n), replies);
      const auto now = Clock::now();
      for (auto& reply : replies) {
        // Later replies never overtake an earlier, delayed one.
        auto due = now + std::chrono::milliseconds(reply.delayMs);
        if (!m_pending.empty()) due = std::max(due, m_pending.back().due);
        m_pending.push_back({due, std::move(reply.bytes), 0});
      }
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EIO && m_endpoint.IsPty()) {
      // The host closed its side: what it did not read is nobody's now.
      m_hostGone = true;
      m_pending.clear();
    }
    return;
  }
}

bool SimServer::SendDue(Clock::time_point now) {
  while (!m_pending.empty() && m_pending.front().due <= now) {
    auto& p = m_pending.front();
    std::size_t length = p.bytes.size() - p.sent;
    if (m_options.baudPacing) length = std::min(length, kPacedChunk);
    const ssize_t n = WriteWithoutSigpipe(m_endpoint.OutputFd(), p.bytes.data() + p.sent, length);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;
    if (n < 0) {
      // Nobody to take it (the host is gone); drop the reply.
      m_pending.pop_front();
      continue;
    }
    p.sent += static_cast<std::size_t>(n);
    if (p.sent >= p.bytes.size()) {
      m_pending.pop_front();
    } else if (m_options.baudPacing) {
      p.due = now + kByteTime * n;
    }
    if (m_options.baudPacing) break;
  }
  return true;
}

bool SimServer::Run() {
  if (!m_stop.IsValid()) return false;
  bool outputFull = false;
  for (;;) {
    if (m_sensor.HungUp() && m_pending.empty() && m_endpoint.IsOpen()) m_endpoint.HangUp();
    const bool open = m_endpoint.IsOpen();
    pollfd fds[3] = {{m_stop.Get(), POLLIN, 0}, {-1, 0, 0}, {-1, 0, 0}};
    nfds_t count = 1;
    if (open && !m_hostGone) {
      fds[count++] = {m_endpoint.InputFd(), POLLIN, 0};
      if (outputFull) fds[count++] = {m_endpoint.OutputFd(), POLLOUT, 0};
    }
    const int ready = ::poll(fds, count, open ? PollTimeoutMs(Clock::now()) : -1);
    if (ready < 0 && errno != EINTR) return false;
    if (fds[0].revents & POLLIN) return true;
    if (!open) continue;
    if (m_hostGone) {
      // Someone opened the pty again when the hang-up report is gone.
      pollfd probe{m_endpoint.InputFd(), POLLIN, 0};
      if (::poll(&probe, 1, 0) >= 0 && !(probe.revents & POLLHUP)) m_hostGone = false;
      continue;
    }
    if (count > 1 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) TakeInput();
    if (!m_hostGone) outputFull = !SendDue(Clock::now());
  }
}

}  // namespace wattrix::sim
