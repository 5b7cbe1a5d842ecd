#include "core/device/SensorLink.h"

#include "core/app/AppContext.h"
#include "core/device/ReplyParser.h"
#include "core/vocabulary/SensorModel.h"
#include "core/device/SensorProtocol.h"

#include <algorithm>
#include <chrono>
#include <system_error>

namespace wattrix {

namespace {

constexpr std::array<int, 9> kAcceptedDeviceCodes{4, 5, 6, 7, 8, 10, 11, 13, 14};
constexpr int kLowestFirmware = 100;
constexpr int kHighestFirmware = 9999;
// How often Disconnect repeats the cancel while it waits: a cancel only ends
// a read that is already waiting, so one that started just after it must be
// caught by the next.
constexpr auto kCancelRepeat = std::chrono::milliseconds(5);

}  // namespace

SensorLink& SensorLink::Instance() {
  static SensorLink link;
  return link;
}

SensorLink::SensorLink()
    : m_factory(DefaultTransportFactory()),
      m_context(&AppContext::Instance()),
      m_receive(std::make_unique<std::uint8_t[]>(kReceiveBufferSize)) {}

SensorLink::~SensorLink() { Disconnect(); }

void SensorLink::SetTransportFactory(TransportFactory factory) {
  std::lock_guard lock(m_lifecycleMutex);
  m_factory = std::move(factory);
}

void SensorLink::SetAppContext(AppContext* context) { m_context.store(context); }

void SensorLink::ResetIdentity(int value) {
  m_deviceCode.store(value);
  m_firmwareVersion.store(value);
  m_serialNumber.store(value);
}

int SensorLink::Connect(int port) {
  std::lock_guard lifecycle(m_lifecycleMutex);
  // A link whose line was lost is taken down first, so that the sensor can
  // be connected again as soon as it is back.
  if (m_thread.joinable() && m_lineLost.load()) DisconnectLocked();
  if (m_thread.joinable()) return -1;

  ResetIdentity(-1);
  {
    std::lock_guard state(m_stateMutex);
    m_lastReplyKind = 0;
    m_lastValue = -1;
  }
  {
    std::lock_guard io(m_ioMutex);
    if (!m_transport) {
      auto transport = m_factory ? m_factory(port) : nullptr;
      if (!transport || !transport->Open(port)) return -2;
      m_transport = std::move(transport);
    }
    m_outOfStep = false;
  }

  auto dropTransport = [this] {
    std::lock_guard io(m_ioMutex);
    m_transport->Close();
    m_transport.reset();
  };
  if (!Identify()) {
    dropTransport();
    ResetIdentity(-1);
    return -3;
  }

  {
    std::lock_guard request(m_requestMutex);
    m_stop.store(false);
    m_requestPending = false;
    m_workerDone = false;
    m_lossToAnnounce = false;
  }
  m_rejected.store(0);
  m_lineLost.store(false);
  try {
    m_thread = std::thread(&SensorLink::AcquisitionLoop, this);
    m_workerId.store(m_thread.get_id());
  } catch (const std::system_error&) {
    dropTransport();
    ResetIdentity(-1);
    return -4;
  }
  m_running.store(true);
  m_connected.store(true);
  return 0;
}

void SensorLink::Disconnect() {
  // From a sink, on the acquisition thread itself, the thread cannot be
  // joined: it is only told to stop, and the owner's Disconnect finishes.
  if (std::this_thread::get_id() == m_workerId.load()) {
    std::lock_guard request(m_requestMutex);
    m_stop.store(true);
    m_running.store(false);
    return;
  }
  std::lock_guard lifecycle(m_lifecycleMutex);
  DisconnectLocked();
}

void SensorLink::DisconnectLocked() {
  // Makes every exchange still to start fail at once, on any thread.
  m_closing.store(true);
  m_running.store(false);
  m_connected.store(false);

  if (m_thread.joinable()) {
    std::unique_lock request(m_requestMutex);
    m_stop.store(true);
    m_requestCv.notify_all();
    while (!m_workerDone) {
      request.unlock();
      if (m_transport) m_transport->CancelPendingIo();
      request.lock();
      m_requestCv.wait_for(request, kCancelRepeat, [this] { return m_workerDone; });
    }
    request.unlock();
    m_thread.join();
    m_workerId.store(std::thread::id());
  }

  // A one-shot command on another thread may still be waiting for a reply.
  std::unique_lock io(m_ioMutex, std::defer_lock);
  while (!io.try_lock()) {
    if (m_transport) m_transport->CancelPendingIo();
    std::this_thread::sleep_for(kCancelRepeat);
  }
  if (m_transport) {
    m_transport->Close();
    m_transport.reset();
  }
  m_received = 0;
  io.unlock();

  ResetIdentity(-1);
  {
    std::lock_guard state(m_stateMutex);
    m_lastReplyKind = 0;
    m_lastValue = -1;
  }
  m_stop.store(false);
  m_closing.store(false);
}

int SensorLink::ModelCode() const {
  const auto* row = FindModelByDeviceCode(m_deviceCode.load());
  return row ? row->modelCode : -1;
}

bool SensorLink::SendLocked(const std::uint8_t* frame, std::size_t length) {
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

bool SensorLink::ReadBlockLocked(std::size_t length, int timeoutMs) {
  m_received = 0;
  if (!m_transport || Stopping() || length > kReceiveBufferSize) return false;
  std::size_t got = 0;
  const bool ok = m_transport->Read(m_receive.get(), length, &got, timeoutMs) && got == length;
  m_received = std::min(got, length);
  CheckLineLocked();
  if (!ok) LoseStepLocked();
  return ok;
}

int SensorLink::ReadReplyLocked(int timeoutMs, std::size_t length, int* kind, std::int32_t* value) {
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
  std::lock_guard state(m_stateMutex);
  m_lastReplyKind = reply.kind;
  m_lastValue = reply.value;
  return 0;
}

int SensorLink::ReadReply(int timeoutMs, std::size_t length) {
  std::lock_guard io(m_ioMutex);
  int kind = 0;
  std::int32_t value = 0;
  return ReadReplyLocked(timeoutMs, length, &kind, &value);
}

bool SensorLink::CommandAck(char first, char second, std::int32_t parameter, int timeoutMs) {
  const auto frame = protocol::MakeFrame(first, second, parameter);
  std::lock_guard io(m_ioMutex);
  if (!SendLocked(frame.data(), frame.size())) return false;
  int kind = 0;
  std::int32_t value = 0;
  const int result = ReadReplyLocked(timeoutMs, protocol::kAckLength, &kind, &value);
  return ExpectKindLocked(result, kind, ReplyKind::Acknowledge);
}

bool SensorLink::ExpectKindLocked(int result, int kind, int wanted) {
  if (result == -1) return false;
  if (result == 0 && kind == wanted) return true;
  // A whole reply of another shape or kind: the line is out of step.
  LoseStepLocked();
  m_rejected.fetch_add(1);
  return false;
}

bool SensorLink::IdentifyStep(char letter, int wantedKind, std::int32_t& value) {
  const auto frame = protocol::MakeShortFrame('G', letter);
  std::lock_guard io(m_ioMutex);
  if (!SendLocked(frame.data(), frame.size())) return false;
  int kind = 0;
  const int result = ReadReplyLocked(protocol::kIdentifyTimeoutMs, protocol::kSingleLength, &kind, &value);
  return ExpectKindLocked(result, kind, wantedKind);
}

bool SensorLink::Identify() {
  ResetIdentity(0);
  std::int32_t value = 0;
  if (!IdentifyStep('D', ReplyKind::DeviceCode, value)) return false;
  if (std::find(kAcceptedDeviceCodes.begin(), kAcceptedDeviceCodes.end(), value) ==
      kAcceptedDeviceCodes.end())
    return false;
  m_deviceCode.store(value);
  // A version outside 1.00 to 99.99 is a changed byte: it would pick the
  // wrong CCDF block length for the whole connection.
  if (!IdentifyStep('V', ReplyKind::FirmwareVersion, value) || value < kLowestFirmware ||
      value > kHighestFirmware)
    return false;
  m_firmwareVersion.store(value);
  if (!IdentifyStep('S', ReplyKind::SerialNumber, value)) return false;
  m_serialNumber.store(value);
  return true;
}

void SensorLink::ResetPeakCarry() {
  std::lock_guard state(m_stateMutex);
  m_peakCarry = protocol::kInitialPeakCarry;
}

int SensorLink::LastReplyKind() const {
  std::lock_guard state(m_stateMutex);
  return m_lastReplyKind;
}

std::int32_t SensorLink::LastValue() const {
  std::lock_guard state(m_stateMutex);
  return m_lastValue;
}

std::array<std::int32_t, 2> SensorLink::AverageReversePair() const {
  std::lock_guard state(m_stateMutex);
  return m_averageReverse;
}

std::array<std::int32_t, SensorLink::kPulseValueCount> SensorLink::PulseValues() const {
  std::lock_guard state(m_stateMutex);
  return m_pulse;
}

protocol::PeakCarry SensorLink::PeakCarry() const {
  std::lock_guard state(m_stateMutex);
  return m_peakCarry;
}

protocol::PeakValues SensorLink::LastPeakReply() const {
  std::lock_guard state(m_stateMutex);
  return m_lastPeak;
}

CcdfHistogram SensorLink::Histogram() const {
  std::lock_guard state(m_stateMutex);
  return m_histogram;
}

std::int32_t SensorLink::LoggingStatus(int index) const {
  if (index < 0 || index >= kLoggingStatusCount) return 0;
  std::lock_guard state(m_stateMutex);
  return m_loggingStatus[static_cast<std::size_t>(index)];
}

int SensorLink::LoggedValueCount() const {
  std::lock_guard state(m_stateMutex);
  return m_loggedValues;
}

}  // namespace wattrix
