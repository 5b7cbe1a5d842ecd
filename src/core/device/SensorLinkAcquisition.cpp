// The acquisition thread of SensorLink: one measurement request at a time.
#include "core/app/AppContext.h"
#include "core/device/CcdfBlockDecoder.h"
#include "core/device/ReadingPlausibility.h"
#include "core/device/ReadingSink.h"
#include "core/device/ReplyParser.h"
#include "core/device/SensorLink.h"
#include "core/vocabulary/SensorModel.h"
#include "core/device/SensorProtocol.h"
#include "core/measure/MeasurementSettings.h"

#include <algorithm>

namespace wattrix {

bool SensorLink::RequestMeasurement(int kind, std::int32_t parameter, int timeoutMs) {
  if (!m_running.load() || m_lineLost.load()) return false;
  const auto* settings = Settings();
  Request request{kind, parameter, timeoutMs, settings ? protocol::Times100(settings->ExternalOffset()) : 0};
  {
    std::lock_guard lock(m_requestMutex);
    m_request = request;
    m_requestPending = true;
    // Set before the worker can see the request: a reply that comes back
    // faster than the caller could set the flag would otherwise be dropped,
    // and the window would wait for it for good.
    m_busy.store(true);
  }
  m_requestCv.notify_all();
  return true;
}

void SensorLink::AcquisitionLoop() {
  for (;;) {
    Request request;
    bool serve = false;
    {
      std::unique_lock lock(m_requestMutex);
      m_requestCv.wait(lock, [this] { return m_stop.load() || m_requestPending || m_lossToAnnounce; });
      if (m_stop.load()) break;
      // Nothing more is asked of a line that is gone.
      serve = m_requestPending && !m_lineLost.load();
      request = m_request;
      m_requestPending = false;
    }
    if (serve) Serve(request);
    AnnounceLineLost();
  }
  {
    std::lock_guard lock(m_requestMutex);
    m_workerDone = true;
  }
  m_requestCv.notify_all();
}

template <typename Call>
void SensorLink::Deliver(int kind, Call&& call) {
  // Nothing goes out once Disconnect has begun: the window is told by it.
  if (Stopping()) return;
  SinkSlot slot{};
  auto* context = m_context.load();
  if (context == nullptr || !SinkSlotForRequest(kind, slot)) return;
  context->DeliverTo(slot, [&](ReadingSink& sink) {
    // A window that stopped or closed in the meantime gets nothing.
    if (m_busy.load()) call(sink);
  });
}

void SensorLink::Serve(const Request& request) {
  const bool secondGeneration = ModelCode() == model::kPX420B;
  switch (request.kind) {
    case RequestKind::Average:
      if (!secondGeneration) ServeSingleValue(request, 'G', 'A');
      break;
    case RequestKind::AverageReverse:
      if (secondGeneration) ServeAverageReverse(request);
      break;
    case RequestKind::Peak:
      if (secondGeneration) {
        ServePeakFiltered(request);
      } else {
        ServeSingleValue(request, 'G', 'F');
      }
      break;
    case RequestKind::Reverse:
      if (!secondGeneration) ServeSingleValue(request, 'G', 'R');
      break;
    case RequestKind::Pulse:
      ServePulse(request);
      break;
    case RequestKind::Ccdf:
      ServeCcdf(request);
      break;
    default:
      break;  // nothing is sent for a kind the sensor has no command for
  }
}

void SensorLink::ServeSingleValue(const Request& request, char first, char second) {
  const auto frame = protocol::MakeFrame(first, second, request.parameter);
  int kind = ReplyKind::None;
  std::int32_t value = -1;
  {
    std::lock_guard io(m_ioMutex);
    int result = -1;
    if (SendLocked(frame.data(), frame.size())) {
      result = ReadReplyLocked(request.timeoutMs, protocol::kSingleLength, &kind, &value);
      // A whole reply of another kind is passed on with its own status,
      // which no window stores; the line is out of step all the same.
      (void)ExpectKindLocked(result, kind, ReplyKind::Measurement);
    }
    // An impossible value is a changed byte of a reply that was in step.
    if (result == 0 && kind == ReplyKind::Measurement && !protocol::PlausiblePower(value)) {
      m_rejected.fetch_add(1);
      result = -1;
    }
    if (result != 0) {
      kind = ReplyKind::None;
      value = -1;
    }
  }
  if (kind == ReplyKind::None) {
    std::lock_guard state(m_stateMutex);
    m_lastReplyKind = ReplyKind::None;
  }
  Deliver(request.kind, [&](ReadingSink& sink) {
    if (request.kind == RequestKind::Average) sink.OnAverageReading(kind, value);
    if (request.kind == RequestKind::Peak) sink.OnPeakReading(kind, value);
    if (request.kind == RequestKind::Reverse) sink.OnReverseReading(kind, value);
  });
}

bool SensorLink::CheckedFrameLocked(std::size_t length, std::int32_t* values, std::size_t powers) {
  const auto check = protocol::ParseValueFrame(m_receive.get(), m_received, 'P', length, values);
  m_received = 0;
  if (check != protocol::FrameCheck::kOk || !ReplyEndedLocked()) {
    LoseStepLocked();
    m_rejected.fetch_add(1);
    return false;
  }
  const std::size_t count = std::min(powers, protocol::ValueCount(length));
  if (std::all_of(values, values + count, protocol::PlausiblePower)) return true;
  m_rejected.fetch_add(1);
  return false;
}

void SensorLink::ServeAverageReverse(const Request& request) {
  const auto frame = protocol::MakeFrame('G', 'E', request.parameter);
  std::array<std::int32_t, 2> values{};
  bool ok = false;
  {
    std::lock_guard io(m_ioMutex);
    ok = SendLocked(frame.data(), frame.size()) &&
         ReadBlockLocked(protocol::kTwoValueLength, request.timeoutMs) &&
         CheckedFrameLocked(protocol::kTwoValueLength, values.data());
  }
  {
    std::lock_guard state(m_stateMutex);
    m_lastReplyKind = ok ? ReplyKind::Measurement : ReplyKind::None;
    if (ok) m_averageReverse = values;
  }
  if (!ok) values = {-1, -1};
  Deliver(request.kind, [&](ReadingSink& sink) {
    sink.OnAverageReverseReading(ok ? ReplyKind::Measurement : 0, values[0], values[1]);
  });
}

void SensorLink::ServePeakFiltered(const Request& request) {
  const auto frame = protocol::MakeFrame('G', 'P', request.parameter);
  protocol::PeakValues values{};
  bool ok = false;
  {
    std::lock_guard io(m_ioMutex);
    ok = SendLocked(frame.data(), frame.size()) &&
         ReadBlockLocked(protocol::kElevenValueLength, request.timeoutMs) &&
         CheckedFrameLocked(protocol::kElevenValueLength, values.data());
  }
  std::int32_t reading = -1;
  {
    std::lock_guard state(m_stateMutex);
    if (ok) {
      m_lastPeak = values;
      reading = protocol::ApplyPeakFilter(values, m_peakCarry);
      m_lastValue = reading;
    }
    m_lastReplyKind = ok ? ReplyKind::Measurement : ReplyKind::None;
  }
  Deliver(request.kind,
          [&](ReadingSink& sink) { sink.OnPeakReading(ok ? ReplyKind::Measurement : 0, reading); });
}

void SensorLink::ServePulse(const Request& request) {
  const auto frame = protocol::MakeFrame('G', 'U', request.parameter);
  std::array<std::int32_t, kPulseValueCount> values{};
  bool ok = false;
  {
    std::lock_guard io(m_ioMutex);
    // Only the first value is a power; the others are counts.
    ok = SendLocked(frame.data(), frame.size()) &&
         ReadBlockLocked(protocol::kFiveValueLength, request.timeoutMs) &&
         CheckedFrameLocked(protocol::kFiveValueLength, values.data(), 1);
  }
  {
    std::lock_guard state(m_stateMutex);
    if (ok) m_pulse = values;
    m_lastReplyKind = ok ? ReplyKind::Measurement : ReplyKind::None;
  }
  if (!ok) values = {-1, -1, -1, -1, -1};
  Deliver(request.kind, [&](ReadingSink& sink) {
    sink.OnPulseReading(ok ? ReplyKind::Measurement : 0, values[0], values[1], values[2], values[3],
                        values[4]);
  });
}

void SensorLink::ServeCcdf(const Request& request) {
  const int version = FirmwareVersion();
  const std::size_t length = protocol::CcdfBlockLength(version);
  CcdfHistogram histogram;
  bool ok = false;
  {
    std::lock_guard io(m_ioMutex);
    // The gate's acknowledge is not checked: the block tells.
    const auto gate = protocol::MakeFrame('G', 'C', request.parameter);
    if (SendLocked(gate.data(), gate.size())) {
      int kind = 0;
      std::int32_t value = 0;
      (void)ReadReplyLocked(protocol::kCcdfGateTimeoutMs, protocol::kAckLength, &kind, &value);
    }
    const auto fetch = protocol::MakeShortFrame('G', 'K');
    ok = SendLocked(fetch.data(), fetch.size()) && ReadBlockLocked(length, protocol::CcdfTimeoutMs(version));
    if (ok) {
      const bool decoded =
          protocol::DecodeCcdfBlock(m_receive.get(), m_received, request.offsetKey, histogram);
      const bool ended = ReplyEndedLocked();
      if (!decoded || !ended) LoseStepLocked();
      // Counts that cannot add up to a sweep are changed bytes.
      ok = decoded && ended && protocol::PlausibleCcdfSweep(histogram, request.offsetKey);
      if (!ok) m_rejected.fetch_add(1);
    }
    if (!ok) histogram.clear();
    m_received = 0;
  }
  {
    std::lock_guard state(m_stateMutex);
    m_histogram = histogram;
    m_lastReplyKind = ok ? ReplyKind::Measurement : ReplyKind::None;
  }
  Deliver(request.kind,
          [&](ReadingSink& sink) { sink.OnCcdfAcquired(ok ? ReplyKind::Measurement : 0, histogram); });
}

}  // namespace wattrix
