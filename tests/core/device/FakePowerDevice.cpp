#include "core/device/FakePowerDevice.h"

#include <algorithm>

namespace wattrix::test {

void FakeWire::SetResponder(Responder responder) {
  std::lock_guard lock(m_mutex);
  m_responder = std::move(responder);
}

void FakeWire::Push(const Bytes& bytes, int delayMs) {
  {
    std::lock_guard lock(m_mutex);
    m_input.push_back({Clock::now() + std::chrono::milliseconds(delayMs), bytes});
  }
  m_cv.notify_all();
}

void FakeWire::SetTimeScale(double scale) {
  std::lock_guard lock(m_mutex);
  m_timeScale = scale;
}

void FakeWire::SetOpenSucceeds(bool ok) {
  std::lock_guard lock(m_mutex);
  m_openSucceeds = ok;
}

bool FakeWire::HungUp() const {
  std::lock_guard lock(m_mutex);
  return m_hungUp;
}

void FakeWire::SetHungUp(bool hungUp) {
  {
    std::lock_guard lock(m_mutex);
    m_hungUp = hungUp;
  }
  m_cv.notify_all();
}

std::vector<Bytes> FakeWire::Writes() const {
  std::lock_guard lock(m_mutex);
  return m_writes;
}

std::vector<FakeWire::ReadCall> FakeWire::Reads() const {
  std::lock_guard lock(m_mutex);
  return m_reads;
}

void FakeWire::ClearLog() {
  std::lock_guard lock(m_mutex);
  m_writes.clear();
  m_reads.clear();
}

int FakeWire::OpenCount() const {
  std::lock_guard lock(m_mutex);
  return m_opens;
}

int FakeWire::CloseCount() const {
  std::lock_guard lock(m_mutex);
  return m_closes;
}

int FakeWire::LastOpenedPort() const {
  std::lock_guard lock(m_mutex);
  return m_lastPort;
}

int FakeWire::DiscardCount() const {
  std::lock_guard lock(m_mutex);
  return m_discards;
}

int FakeWire::CancelCount() const {
  std::lock_guard lock(m_mutex);
  return m_cancels;
}

bool FakeWire::WaitForWaitingRead(int ms) const {
  std::unique_lock lock(m_mutex);
  return m_cv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_waitingReads > 0; });
}

bool FakeWire::Open(int port) {
  std::lock_guard lock(m_mutex);
  ++m_opens;
  m_lastPort = port;
  m_open = m_openSucceeds;
  return m_open;
}

void FakeWire::Close() {
  std::lock_guard lock(m_mutex);
  ++m_closes;
  m_open = false;
}

bool FakeWire::IsOpen() const {
  std::lock_guard lock(m_mutex);
  return m_open;
}

bool FakeWire::Write(const std::uint8_t* data, std::size_t count, std::size_t* written) {
  Responder responder;
  Bytes frame(data, data + count);
  {
    std::lock_guard lock(m_mutex);
    *written = 0;
    if (!m_open || m_hungUp) return false;
    m_writes.push_back(frame);
    responder = m_responder;
    *written = count;
  }
  if (responder) responder(frame, *this);
  return true;
}

std::size_t FakeWire::ArrivedLocked(Clock::time_point now) const {
  std::size_t bytes = 0;
  for (const auto& chunk : m_input) {
    if (chunk.due > now) break;
    bytes += chunk.bytes.size();
  }
  return bytes;
}

bool FakeWire::Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs) {
  std::unique_lock lock(m_mutex);
  *received = 0;
  const auto deadline =
      Clock::now() + std::chrono::microseconds(static_cast<long long>(timeoutMs * 1000.0 * m_timeScale));
  const unsigned generation = m_cancelGeneration;
  ++m_waitingReads;
  m_cv.notify_all();
  bool cancelled = false;
  for (;;) {
    const auto now = Clock::now();
    if (m_hungUp || !m_open) break;
    if (m_cancelGeneration != generation) {
      cancelled = true;
      break;
    }
    if (ArrivedLocked(now) >= count || now >= deadline) break;
    // Wake at the next arrival or the deadline, whichever is first.
    auto wake = deadline;
    for (const auto& chunk : m_input)
      if (chunk.due > now) {
        wake = std::min(wake, chunk.due);
        break;
      }
    m_cv.wait_until(lock, wake);
  }
  --m_waitingReads;
  // What arrived by the deadline counts, however late this thread woke, so
  // that the outcome does not depend on scheduling; it is consumed, as a
  // serial read does.
  const auto cutoff = std::min(Clock::now(), deadline);
  const bool ok = !cancelled && !m_hungUp && m_open && ArrivedLocked(cutoff) >= count;
  while (*received < count && !m_input.empty() && m_input.front().due <= cutoff) {
    auto& front = m_input.front().bytes;
    const std::size_t take = std::min(count - *received, front.size());
    std::copy(front.begin(), front.begin() + static_cast<std::ptrdiff_t>(take), buffer + *received);
    *received += take;
    front.erase(front.begin(), front.begin() + static_cast<std::ptrdiff_t>(take));
    if (front.empty()) m_input.pop_front();
  }
  // The link's zero-wait look for stray bytes after a reply is no read of
  // a reply: left out, so that the log shows the exchanges.
  if (timeoutMs != 0) m_reads.push_back({count, timeoutMs, ok});
  return ok;
}

void FakeWire::CancelPendingIo() {
  {
    std::lock_guard lock(m_mutex);
    ++m_cancels;
    // Only a read that is already waiting is ended.
    if (m_waitingReads > 0) ++m_cancelGeneration;
  }
  m_cv.notify_all();
}

void FakeWire::DiscardInput() {
  std::lock_guard lock(m_mutex);
  ++m_discards;
  const auto now = Clock::now();
  while (!m_input.empty() && m_input.front().due <= now) m_input.pop_front();
}

}  // namespace wattrix::test
