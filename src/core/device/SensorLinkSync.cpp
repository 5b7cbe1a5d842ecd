// Keeping SensorLink in step with the sensor: resynchronisation after a
// failed exchange, stray bytes after a reply, and a line that went away.
#include "core/device/SensorLink.h"
#include "core/device/SensorProtocol.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace wattrix {

namespace {

// How long the marker's reply may take; the identification's own time-out.
constexpr int kResyncTimeoutMs = protocol::kIdentifyTimeoutMs;

// Only identification answers carry the "D" tag, so the frame alone tells
// the marker's reply; its value is not needed (and may be a changed byte).
bool IsMarkerReply(const std::uint8_t* data) {
  return data[0] == '[' && data[1] == 'D' && data[2] == ',' && data[7] == ']' && data[8] == protocol::kCR;
}

}  // namespace

void SensorLink::SetLineLostHandler(std::function<void()> handler) {
  std::lock_guard lock(m_handlerMutex);
  m_lineLostHandler = std::move(handler);
}

void SensorLink::CheckLineLocked() {
  if (!m_transport || !m_transport->LineGone() || m_lineLost.exchange(true)) return;
  {
    std::lock_guard request(m_requestMutex);
    m_lossToAnnounce = true;
  }
  // Wakes the acquisition thread, which tells the handler.
  m_requestCv.notify_all();
}

void SensorLink::AnnounceLineLost() {
  {
    std::lock_guard request(m_requestMutex);
    if (!m_lossToAnnounce) return;
    m_lossToAnnounce = false;
  }
  std::function<void()> handler;
  {
    std::lock_guard lock(m_handlerMutex);
    handler = m_lineLostHandler;
  }
  if (handler) handler();
}

bool SensorLink::ReplyEndedLocked() {
  // A zero wait takes only what has already arrived.
  std::uint8_t stray = 0;
  std::size_t got = 0;
  const bool more = m_transport->Read(&stray, 1, &got, 0) && got == 1;
  CheckLineLocked();
  return !more;
}

bool SensorLink::ResyncLocked() {
  m_transport->DiscardInput();
  const auto marker = protocol::MakeShortFrame('G', 'D');
  std::size_t written = 0;
  const bool sent = m_transport->Write(marker.data(), marker.size(), &written) && written == marker.size();
  CheckLineLocked();
  if (!sent) return false;

  // Slides a reply-sized window over what comes until it holds the
  // marker's reply; everything before it is the tail of older answers.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kResyncTimeoutMs);
  std::uint8_t window[protocol::kSingleLength];
  std::size_t have = 0;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || Stopping()) return false;
    std::size_t got = 0;
    const bool ok =
        m_transport->Read(window + have, sizeof window - have, &got, static_cast<int>(left.count()));
    CheckLineLocked();
    if (!ok || got != sizeof window - have) return false;
    have = sizeof window;
    if (IsMarkerReply(window)) break;
    // Keep from the next opening bracket on, if any.
    const auto* next = static_cast<const std::uint8_t*>(std::memchr(window + 1, '[', sizeof window - 1));
    const std::size_t drop = next ? static_cast<std::size_t>(next - window) : sizeof window;
    std::memmove(window, window + drop, sizeof window - drop);
    have = sizeof window - drop;
  }
  m_outOfStep = false;
  return true;
}

}  // namespace wattrix
