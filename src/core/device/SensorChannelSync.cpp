// Keeping the channel in step with the sensor: resynchronisation after a
// failed exchange, stray bytes after a reply, the rest of an abandoned log,
// and a line that went away.
#include "core/device/LogBlockDecoder.h"
#include "core/device/SensorChannel.h"
#include "core/device/SensorProtocol.h"

#include <chrono>
#include <cstring>
#include <utility>

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

void SensorChannel::CheckLineLocked() {
  if (!m_transport || !m_transport->LineGone() || m_lineLost.exchange(true)) return;
  if (m_lineLostCallback) m_lineLostCallback();
}

bool SensorChannel::ReplyEndedLocked() {
  // A zero wait takes only what has already arrived.
  std::uint8_t stray = 0;
  std::size_t got = 0;
  const bool more = m_transport->Read(&stray, 1, &got, 0) && got == 1;
  CheckLineLocked();
  return !more;
}

void SensorChannel::DrainAbandonedLocked() {
  using Clock = std::chrono::steady_clock;
  if (m_drainUntil == Clock::time_point{} || !m_transport) return;
  const auto until = std::exchange(m_drainUntil, Clock::time_point{});
  std::uint8_t scrap = 0;
  std::size_t got = 0;
  while (Clock::now() < until && !Stopping()) {
    m_transport->DiscardInput();
    if (!m_transport->Read(&scrap, 1, &got, protocol::kLogDrainSettleMs)) break;
  }
}

bool SensorChannel::ResyncLocked() {
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
