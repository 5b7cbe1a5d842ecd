#include "sim/SimLoopbackDevice.h"

#include <algorithm>
#include <cstring>

namespace wattrix::sim {

SimLoopbackDevice::SimLoopbackDevice(SimConfig config) : m_sensor(std::move(config)) {}

bool SimLoopbackDevice::Open(int /*port*/) {
  std::lock_guard lock(m_mutex);
  if (m_openFails) return false;
  m_open = true;
  return true;
}

void SimLoopbackDevice::Close() {
  std::lock_guard lock(m_mutex);
  m_open = false;
  m_input.clear();
}

bool SimLoopbackDevice::IsOpen() const {
  std::lock_guard lock(m_mutex);
  return m_open;
}

void SimLoopbackDevice::SetWritePause(int ms) {
  std::lock_guard lock(m_mutex);
  m_writePauseMs = std::max(ms, 0);
}

void SimLoopbackDevice::SetOpenFails(bool fails) {
  std::lock_guard lock(m_mutex);
  m_openFails = fails;
}

void SimLoopbackDevice::WithSensor(const std::function<void(SimSensor&)>& f) {
  std::lock_guard lock(m_mutex);
  f(m_sensor);
}

bool SimLoopbackDevice::Write(const std::uint8_t* data, std::size_t count, std::size_t* written) {
  if (written) *written = 0;
  std::unique_lock lock(m_mutex);
  if (!m_open || m_sensor.HungUp()) return false;
  std::vector<SimReply> replies;
  m_sensor.Feed(data, count, replies);
  // Replies keep their order even when an earlier one is held back longer.
  auto due = m_input.empty() ? Clock::now() : std::max(Clock::now(), m_input.back().due);
  for (auto& reply : replies) {
    due = std::max(due, Clock::now() + std::chrono::milliseconds(reply.delayMs));
    m_input.push_back({due, std::move(reply.bytes)});
  }
  if (written) *written = count;
  m_cv.notify_all();
  if (m_writePauseMs == 0) return true;
  const unsigned generation = m_cancelGeneration;
  return !m_cv.wait_for(lock, std::chrono::milliseconds(m_writePauseMs),
                        [&] { return m_cancelGeneration != generation; });
}

std::size_t SimLoopbackDevice::ArrivedLocked(Clock::time_point now) const {
  std::size_t n = 0;
  for (const auto& chunk : m_input) {
    if (chunk.due > now) break;
    n += chunk.bytes.size();
  }
  return n;
}

bool SimLoopbackDevice::Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs) {
  std::unique_lock lock(m_mutex);
  if (!m_open) return false;
  const unsigned generation = m_cancelGeneration;
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    const auto now = Clock::now();
    if (ArrivedLocked(now) >= count || now >= deadline || m_cancelGeneration != generation) break;
    if (m_sensor.HungUp() &&
        std::none_of(m_input.begin(), m_input.end(), [&](const Chunk& c) { return c.due > now; })) {
      break;
    }
    // Wake for the next chunk that falls due, the deadline or a cancel.
    auto wake = deadline;
    for (const auto& chunk : m_input) {
      if (chunk.due > now) {
        wake = std::min(wake, chunk.due);
        break;
      }
    }
    m_cv.wait_until(lock, wake);
  }
  // A cancelled read leaves the input for whoever reads next.
  if (m_cancelGeneration != generation) return false;
  const auto now = Clock::now();
  std::size_t got = 0;
  while (got < count && !m_input.empty() && m_input.front().due <= now) {
    auto& chunk = m_input.front();
    const std::size_t n = std::min(count - got, chunk.bytes.size());
    std::memcpy(buffer + got, chunk.bytes.data(), n);
    got += n;
    chunk.bytes.erase(chunk.bytes.begin(), chunk.bytes.begin() + static_cast<std::ptrdiff_t>(n));
    if (chunk.bytes.empty()) m_input.pop_front();
  }
  if (received) *received = got;
  return got == count;
}

void SimLoopbackDevice::CancelPendingIo() {
  std::lock_guard lock(m_mutex);
  ++m_cancelGeneration;
  m_cv.notify_all();
}

void SimLoopbackDevice::DiscardInput() {
  std::lock_guard lock(m_mutex);
  const auto now = Clock::now();
  while (!m_input.empty() && m_input.front().due <= now) m_input.pop_front();
}

}  // namespace wattrix::sim
