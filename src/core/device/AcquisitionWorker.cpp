#include "core/device/AcquisitionWorker.h"

#include "core/device/AcquisitionTable.h"
#include "core/device/CcdfBlockDecoder.h"
#include "core/device/ReadingPlausibility.h"
#include "core/device/SensorChannel.h"
#include "core/device/SensorProtocol.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <utility>

namespace wattrix {

namespace {

// How often Stop repeats the cancel while it waits: a cancel only ends a
// read that is already waiting, so one that started just after it must be
// caught by the next.
constexpr auto kCancelRepeat = std::chrono::milliseconds(5);

// A reading of a failed exchange: status None, every value -1.
Reading Unanswered(RequestKind kind) { return Reading::Of(kind, ReplyKind::None); }

}  // namespace

AcquisitionWorker::AcquisitionWorker(SensorChannel& channel) : m_channel(channel) {}

AcquisitionWorker::~AcquisitionWorker() { Stop(); }

bool AcquisitionWorker::Start(int modelCode, int firmwareVersion) {
  m_modelCode = modelCode;
  m_firmwareVersion = firmwareVersion;
  {
    std::lock_guard lock(m_mutex);
    m_stop = false;
    m_done = false;
    m_requestPending = false;
    m_lossToAnnounce = false;
    m_pending = {};
  }
  try {
    m_thread = std::thread(&AcquisitionWorker::Loop, this);
  } catch (const std::system_error&) {
    return false;
  }
  m_workerId.store(m_thread.get_id());
  m_running.store(true);
  return true;
}

void AcquisitionWorker::Stop() {
  m_running.store(false);
  if (!m_thread.joinable()) return;
  std::unique_lock lock(m_mutex);
  m_stop = true;
  m_wake.notify_all();
  while (!m_done) {
    lock.unlock();
    m_channel.CancelPendingIo();
    lock.lock();
    m_wake.wait_for(lock, kCancelRepeat, [this] { return m_done; });
  }
  lock.unlock();
  m_thread.join();
  m_workerId.store(std::thread::id());
}

void AcquisitionWorker::StopFromInside() {
  // Nothing more goes out on any thread until the owner's Stop.
  m_channel.SetStopping(true);
  std::lock_guard lock(m_mutex);
  m_stop = true;
  m_running.store(false);
}

bool AcquisitionWorker::Request(const MeasurementRequest& request,
                                std::shared_ptr<DeliveryHandle> addressee) {
  if (!m_running.load()) return false;
  {
    std::lock_guard lock(m_mutex);
    m_pending = Pending{request, std::move(addressee)};
    m_requestPending = true;
    // Set before the thread can see the request: a reply that comes back
    // faster than the caller could set the flag would otherwise be dropped,
    // and the window would wait for it for good.
    m_busy.store(true);
  }
  m_wake.notify_all();
  return true;
}

void AcquisitionWorker::ResetPeakCarry() {
  std::lock_guard lock(m_mutex);
  m_peakCarry = protocol::kInitialPeakCarry;
}

protocol::PeakCarry AcquisitionWorker::PeakCarry() const {
  std::lock_guard lock(m_mutex);
  return m_peakCarry;
}

void AcquisitionWorker::SetLineLostHandler(std::function<void()> handler) {
  std::lock_guard lock(m_mutex);
  m_lineLostHandler = std::move(handler);
}

void AcquisitionWorker::NoteLineLost() {
  {
    std::lock_guard lock(m_mutex);
    m_lossToAnnounce = true;
  }
  m_wake.notify_all();
}

void AcquisitionWorker::AnnounceLineLost() {
  std::function<void()> handler;
  {
    std::lock_guard lock(m_mutex);
    if (!m_lossToAnnounce) return;
    m_lossToAnnounce = false;
    handler = m_lineLostHandler;
  }
  if (handler) handler();
}

void AcquisitionWorker::Loop() {
  for (;;) {
    Pending pending;
    bool serve = false;
    {
      std::unique_lock lock(m_mutex);
      m_wake.wait(lock, [this] { return m_stop || m_requestPending || m_lossToAnnounce; });
      if (m_stop) break;
      // Nothing more is asked of a line that is gone.
      serve = m_requestPending && !m_channel.LineLost();
      pending = std::move(m_pending);
      m_pending = {};
      m_requestPending = false;
    }
    // Nothing is sent for a kind the sensor has no command for.
    const AcquisitionCommand* command =
        serve ? FindAcquisitionCommand(pending.request.kind, m_modelCode) : nullptr;
    if (command != nullptr) {
      const Reading reading = Serve(*command, pending.request);
      // Nothing goes out once stopping has begun: the window is told by
      // the owner. A window that stopped or closed meanwhile gets nothing.
      if (!m_channel.Stopping() && pending.addressee)
        pending.addressee->Deliver(reading, [this] { return m_busy.load(); });
    }
    AnnounceLineLost();
  }
  {
    std::lock_guard lock(m_mutex);
    m_done = true;
  }
  m_wake.notify_all();
}

Reading AcquisitionWorker::Serve(const AcquisitionCommand& command, const MeasurementRequest& request) {
  switch (command.shape) {
    case ReplyShape::SingleValue:
      return ServeSingleValue(command, request);
    case ReplyShape::ValueFrame:
    case ReplyShape::PeakFiltered:
      return ServeValueFrame(command, request);
    case ReplyShape::CcdfBlock:
      break;
  }
  return ServeCcdf(request);
}

Reading AcquisitionWorker::ServeSingleValue(const AcquisitionCommand& command,
                                            const MeasurementRequest& request) {
  const auto frame = protocol::MakeFrame(command.first, command.second, request.frequency100);
  Reading reading = Unanswered(request.kind);
  ReplyKind kind = ReplyKind::None;
  std::int32_t value = -1;
  {
    const auto io = m_channel.Lock();
    int result = -1;
    if (m_channel.SendLocked(frame)) {
      result = m_channel.ReadReplyLocked(request.timeoutMs, command.replyLength, &kind, &value);
      // A whole reply of another kind is passed on with its own status,
      // which no window stores; the line is out of step all the same.
      (void)m_channel.ExpectKindLocked(result, kind, ReplyKind::Measurement);
    }
    // An impossible value is a changed byte of a reply that was in step.
    if (result == 0 && kind == ReplyKind::Measurement && !protocol::PlausiblePower(value)) {
      m_channel.NoteRejected();
      result = -1;
    }
    if (result != 0) {
      kind = ReplyKind::None;
      value = -1;
    }
  }
  reading.status = kind;
  reading.values[0] = value;
  return reading;
}

Reading AcquisitionWorker::ServeValueFrame(const AcquisitionCommand& command,
                                           const MeasurementRequest& request) {
  const auto frame = protocol::MakeFrame(command.first, command.second, request.frequency100);
  protocol::PeakValues values{};
  bool ok = false;
  {
    const auto io = m_channel.Lock();
    ok = m_channel.SendLocked(frame) && m_channel.ReadBlockLocked(command.replyLength, request.timeoutMs) &&
         m_channel.CheckedFrameLocked(command.replyLength, values.data(), command.powers);
    // The pair the direction check falls back on when its own read fails.
    if (ok && request.kind == RequestKind::AverageReverse)
      m_channel.SetPowerPairLocked({values[0], values[1]});
  }
  Reading reading = Unanswered(request.kind);
  if (!ok) return reading;
  reading.status = ReplyKind::Measurement;
  if (command.shape == ReplyShape::PeakFiltered) {
    std::lock_guard lock(m_mutex);
    reading.values[0] = protocol::ApplyPeakFilter(values, m_peakCarry);
    return reading;
  }
  std::copy_n(values.begin(), std::min(command.values, Reading::kMaxValues), reading.values.begin());
  return reading;
}

Reading AcquisitionWorker::ServeCcdf(const MeasurementRequest& request) {
  const std::size_t length = protocol::CcdfBlockLength(m_firmwareVersion);
  auto histogram = std::make_shared<CcdfHistogram>();
  bool ok = false;
  {
    const auto io = m_channel.Lock();
    // The gate's acknowledge is not checked: the block tells.
    if (m_channel.SendLocked(protocol::MakeFrame('G', 'C', request.frequency100))) {
      ReplyKind kind = ReplyKind::None;
      std::int32_t value = 0;
      (void)m_channel.ReadReplyLocked(protocol::kCcdfGateTimeoutMs, protocol::kAckLength, &kind, &value);
    }
    ok = m_channel.SendLocked(protocol::MakeShortFrame('G', 'K')) &&
         m_channel.ReadBlockLocked(length, protocol::CcdfTimeoutMs(m_firmwareVersion));
    if (ok) {
      const bool decoded = protocol::DecodeCcdfBlock(m_channel.DataLocked(), m_channel.ReceivedLocked(),
                                                     request.offset100, *histogram);
      const bool ended = m_channel.ReplyEndedLocked();
      if (!decoded || !ended) m_channel.LoseStepLocked();
      // Counts that cannot add up to a sweep are changed bytes.
      ok = decoded && ended && protocol::PlausibleCcdfSweep(*histogram, request.offset100);
      if (!ok) m_channel.NoteRejected();
    }
    if (!ok) histogram->clear();
    m_channel.ConsumeLocked();
  }
  Reading reading = Unanswered(request.kind);
  reading.status = ok ? ReplyKind::Measurement : ReplyKind::None;
  reading.histogram = std::move(histogram);
  return reading;
}

}  // namespace wattrix
