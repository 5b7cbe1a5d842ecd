#include "core/device/SensorChannel.h"

#include "core/device/ReadingPlausibility.h"
#include "core/device/ReplyParser.h"
#include "core/device/SensorProtocol.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace wattrix {

namespace {

// How often Close repeats the cancel while it waits for the lock: a cancel
// only ends a read that is already waiting.
constexpr auto kCancelRepeat = std::chrono::milliseconds(5);

}  // namespace

SensorChannel::SensorChannel(std::function<void()> lineLost)
    : m_lineLostCallback(std::move(lineLost)),
      m_receive(std::make_unique<std::uint8_t[]>(kReceiveBufferSize)) {}

bool SensorChannel::OpenLocked(const TransportFactory& factory, int port) {
  if (!m_transport) {
    auto transport = factory ? factory(port) : nullptr;
    if (!transport || !transport->Open(port)) return false;
    m_transport = std::move(transport);
  }
  m_outOfStep = false;
  return true;
}

void SensorChannel::Close() {
  std::unique_lock io(m_ioMutex, std::defer_lock);
  while (!io.try_lock()) {
    CancelPendingIo();
    std::this_thread::sleep_for(kCancelRepeat);
  }
  if (m_transport) {
    m_transport->Close();
    m_transport.reset();
  }
  m_received = 0;
}

void SensorChannel::CancelPendingIo() {
  if (m_transport) m_transport->CancelPendingIo();
}

bool SensorChannel::SendLocked(const std::uint8_t* frame, std::size_t length) {
  m_received = 0;
  if (!m_transport || Stopping()) return false;
  if (m_transport->LineGone()) {
    CheckLineLocked();
    return false;
  }
  DrainAbandonedLocked();
  if (m_outOfStep && !ResyncLocked()) return false;
  // The tail of an answer that came too late must not pass for this one's.
  m_transport->DiscardInput();
  std::size_t written = 0;
  const bool ok = m_transport->Write(frame, length, &written) && written == length;
  CheckLineLocked();
  if (!ok) LoseStepLocked();
  return ok;
}

bool SensorChannel::ReadBlockLocked(std::size_t length, int timeoutMs) {
  m_received = 0;
  if (!m_transport || Stopping() || length > kReceiveBufferSize) return false;
  std::size_t got = 0;
  const bool ok = m_transport->Read(m_receive.get(), length, &got, timeoutMs) && got == length;
  m_received = std::min(got, length);
  CheckLineLocked();
  if (!ok) LoseStepLocked();
  return ok;
}

int SensorChannel::ReadReplyLocked(int timeoutMs, std::size_t length, ReplyKind* kind, std::int32_t* value) {
  *kind = ReplyKind::None;
  *value = -1;
  if (!m_transport || Stopping() || length > kReceiveBufferSize) return -1;
  std::size_t got = 0;
  const bool ok = m_transport->Read(m_receive.get(), length, &got, timeoutMs);
  CheckLineLocked();
  if (!ok) {
    m_received = 0;
    LoseStepLocked();
    return -1;
  }
  m_received = std::min(got, length);
  const auto reply = protocol::ParseSingleReply(m_receive.get(), m_received);
  // The reply is used up either way.
  m_received = 0;
  if (reply.kind == ReplyKind::None || !ReplyEndedLocked()) {
    LoseStepLocked();
    return -2;
  }
  *kind = reply.kind;
  *value = reply.value;
  return 0;
}

bool SensorChannel::ExpectKindLocked(int result, ReplyKind kind, ReplyKind wanted) {
  if (result == -1) return false;
  if (result == 0 && kind == wanted) return true;
  // A whole reply of another shape or kind: the line is out of step.
  LoseStepLocked();
  NoteRejected();
  return false;
}

bool SensorChannel::CheckedFrameLocked(std::size_t length, std::int32_t* values, std::size_t powers) {
  const auto check = protocol::ParseValueFrame(m_receive.get(), m_received, 'P', length, values);
  m_received = 0;
  if (check != protocol::FrameCheck::kOk || !ReplyEndedLocked()) {
    LoseStepLocked();
    NoteRejected();
    return false;
  }
  const std::size_t count = std::min(powers, protocol::ValueCount(length));
  if (std::all_of(values, values + count, protocol::PlausiblePower)) return true;
  NoteRejected();
  return false;
}

bool SensorChannel::CommandAck(char first, char second, std::int32_t parameter, int timeoutMs) {
  const auto frame = protocol::MakeFrame(first, second, parameter);
  std::lock_guard io(m_ioMutex);
  if (!SendLocked(frame)) return false;
  ReplyKind kind = ReplyKind::None;
  std::int32_t value = 0;
  const int result = ReadReplyLocked(timeoutMs, protocol::kAckLength, &kind, &value);
  return ExpectKindLocked(result, kind, ReplyKind::Acknowledge);
}

bool SensorChannel::Query(char first, char second, ReplyKind wanted, int timeoutMs, std::int32_t& value) {
  const auto frame = protocol::MakeShortFrame(first, second);
  std::lock_guard io(m_ioMutex);
  if (!SendLocked(frame)) return false;
  ReplyKind kind = ReplyKind::None;
  const int result = ReadReplyLocked(timeoutMs, protocol::kSingleLength, &kind, &value);
  return ExpectKindLocked(result, kind, wanted);
}

}  // namespace wattrix
