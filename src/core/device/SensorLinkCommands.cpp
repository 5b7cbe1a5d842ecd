// The one-shot commands of SensorLink and the log download.
#include "core/device/LogBlockDecoder.h"
#include "core/device/LogValueStore.h"
#include "core/device/ReplyParser.h"
#include "core/device/SensorLink.h"
#include "core/vocabulary/SensorModel.h"
#include "core/device/SensorProtocol.h"
#include "core/measure/MeasurementSettings.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace wattrix {

using protocol::kAckTimeoutMs;
using protocol::kLongAckTimeoutMs;
using protocol::kShortAckTimeoutMs;

bool SensorLink::SendTechnology(std::int32_t /*frequency100*/) {
  const auto* settings = Settings();
  const int tech = settings ? settings->Technology() : 7;
  return CommandAck('S', 'O', protocol::TechnologyCode(tech), kShortAckTimeoutMs);
}

bool SensorLink::CheckPowerDirection(std::int32_t frequency100, std::int32_t& average,
                                     std::int32_t& reverse) {
  const auto frame = protocol::MakeFrame('G', 'E', frequency100);
  {
    std::lock_guard io(m_ioMutex);
    std::array<std::int32_t, 2> values{};
    if (SendLocked(frame.data(), frame.size()) &&
        ReadBlockLocked(protocol::kTwoValueLength, kShortAckTimeoutMs) &&
        protocol::ParseValueFrame(m_receive.get(), m_received, 'P', protocol::kTwoValueLength,
                                  values.data()) == protocol::FrameCheck::kOk) {
      std::lock_guard state(m_stateMutex);
      m_averageReverse = values;
      m_lastReplyKind = ReplyKind::Measurement;
    }
    m_received = 0;
  }
  // A failed read keeps the previous pair, as the comparison always has.
  const auto pair = AverageReversePair();
  average = pair[0];
  reverse = pair[1];
  return average < reverse;
}

bool SensorLink::CheckPowerDirection(std::int32_t frequency100) {
  std::int32_t average = 0;
  std::int32_t reverse = 0;
  return CheckPowerDirection(frequency100, average, reverse);
}

bool SensorLink::SendPulseAveraging(int rateIndex, int reference) {
  // Both are sent even when the first is not acknowledged.
  const bool rate = CommandAck('S', 'U', protocol::AveragingCode(rateIndex), kAckTimeoutMs);
  const bool ref = CommandAck('S', 'R', protocol::PulseReferenceParameter(reference), kAckTimeoutMs);
  return rate && ref;
}

bool SensorLink::SendAverageRepeat() {
  const auto* settings = Settings();
  const int repeat = settings ? settings->AvgRepeat() : 1;
  if (ModelCode() != model::kPX420B) return CommandAck('S', 'Z', repeat, kAckTimeoutMs);
  bool ok = CommandAck('S', 'T', protocol::kTriggerParameter, kAckTimeoutMs);
  ok = CommandAck('S', 'N', protocol::kSampleParameter, kAckTimeoutMs) && ok;
  ok = CommandAck('S', 'Z', repeat, kAckTimeoutMs) && ok;
  ok = CommandAck('S', 'O', 0, kAckTimeoutMs) && ok;
  return ok;
}

bool SensorLink::ConfigureLogging(std::int32_t frequency100, int itemMask, int intervalSeconds,
                                  int sampleCount, int /*unused1*/, int /*unused2*/, int averagingIndex,
                                  int reference) {
  const auto* settings = Settings();
  const std::int32_t offset = settings ? protocol::Times100(settings->ExternalOffset()) : 0;
  const int tech = settings ? settings->Technology() : 7;
  struct Step {
    char first;
    char second;
    std::int32_t parameter;
  };
  const std::array<Step, 10> steps{{
      {'A', 'E', offset},
      {'A', 'F', protocol::WholeMHzFromFrequency100(frequency100)},
      {'A', 'M', itemMask},
      {'A', 'I', intervalSeconds},
      {'A', 'N', sampleCount},
      {'A', 'T', protocol::kTriggerParameter},
      {'S', 'N', protocol::kSampleParameter},
      {'A', 'U', protocol::AveragingCode(averagingIndex)},
      {'S', 'R', protocol::PulseReferenceParameter(reference)},
      {'A', 'R', 1},
  }};
  // Every command goes out even after a failed acknowledge.
  bool ok = true;
  for (const auto& step : steps)
    ok = CommandAck(step.first, step.second, step.parameter, kShortAckTimeoutMs) && ok;
  ok = CommandAck('S', 'O', protocol::TechnologyCode(tech), kAckTimeoutMs) && ok;
  return ok;
}

bool SensorLink::SetLoggingRun(int value) { return CommandAck('A', 'R', value, kLongAckTimeoutMs); }

bool SensorLink::ClearLoggingMemory() { return CommandAck('A', 'O', 1, kLongAckTimeoutMs); }

bool SensorLink::ReadLoggingStatus() {
  std::lock_guard io(m_ioMutex);
  const auto& frame = protocol::kLoggingStatusFrame;
  if (!SendLocked(frame.data(), frame.size()) ||
      !ReadBlockLocked(protocol::kElevenValueLength, kLongAckTimeoutMs)) {
    m_received = 0;
    return false;
  }
  std::array<std::int32_t, kLoggingStatusCount> values{};
  const auto check = protocol::ParseValueFrame(m_receive.get(), m_received, 'G', protocol::kElevenValueLength,
                                               values.data());
  m_received = 0;
  if (check == protocol::FrameCheck::kShortOrUntagged) return false;
  std::lock_guard state(m_stateMutex);
  // A bad closing still stores the values (the caller may show them) but
  // reports failure.
  m_loggingStatus = values;
  return check == protocol::FrameCheck::kOk;
}

bool SensorLink::DownloadLog(int timeoutMs, int byteCount, int blockCount, int valueCount) {
  auto* settings = Settings();
  if (settings == nullptr) return false;
  settings->ResetHistories();
  const int itemMask = LoggingStatus(0);
  {
    std::lock_guard state(m_stateMutex);
    m_loggedValues = 0;
  }
  std::vector<std::uint16_t> values;
  LogReadResult result = LogReadResult::kFailed;
  {
    std::lock_guard io(m_ioMutex);
    // Read in buffer-sized pieces: nobody watches this transfer.
    result = ReadLogLocked(timeoutMs, byteCount, blockCount, valueCount, kReceiveBufferSize, values, nullptr);
  }
  if (result != LogReadResult::kDone) return false;
  const int stored = protocol::StoreLogValues(*settings, itemMask, values);
  std::lock_guard state(m_stateMutex);
  m_loggedValues = stored;
  return true;
}

void SensorLink::DrainAbandonedLocked() {
  using Clock = std::chrono::steady_clock;
  if (m_drainUntil == Clock::time_point{}) return;
  const auto until = std::exchange(m_drainUntil, Clock::time_point{});
  std::uint8_t scrap = 0;
  std::size_t got = 0;
  while (Clock::now() < until && !Stopping()) {
    m_transport->DiscardInput();
    if (!m_transport->Read(&scrap, 1, &got, protocol::kLogDrainSettleMs)) break;
  }
}

LogReadResult SensorLink::ReadLog(int timeoutMs, int byteCount, int blockCount, int valueCount,
                                  std::vector<std::uint16_t>& values, LogTransferControl* control) {
  std::lock_guard io(m_ioMutex);
  // A block at a time, so that progress and cancel come at least every
  // half second on a 9600-baud line.
  return ReadLogLocked(timeoutMs, byteCount, blockCount, valueCount, protocol::kLogBlockSize, values,
                       control);
}

LogReadResult SensorLink::ReadLogLocked(int timeoutMs, int byteCount, int blockCount, int valueCount,
                                        std::size_t pieceBytes, std::vector<std::uint16_t>& values,
                                        LogTransferControl* control) {
  values.clear();
  if (byteCount <= 0 || blockCount <= 0 || valueCount < 0) return LogReadResult::kFailed;
  const std::size_t total = static_cast<std::size_t>(byteCount);
  // Between Begin and End the transport is there (the I/O lock is held), so
  // a cancel from another thread may interrupt its waits.
  struct Watch {
    LogTransferControl* control;
    ~Watch() {
      if (control) control->End();
    }
  } watch{control};
  if (control)
    control->Begin(total, [device = m_transport.get()] {
      if (device) device->CancelPendingIo();
    });
  auto ended = [control] { return control != nullptr && control->Cancelled(); };
  auto deadline = std::chrono::steady_clock::time_point{};
  bool sent = false;
  auto failed = [this, &ended, &values, &deadline, &sent, timeoutMs] {
    m_received = 0;
    values.clear();
    if (!ended()) return LogReadResult::kFailed;
    // The sensor cannot be stopped: what it still sends is waited out
    // before the next command, not taken for that command's answer.
    // The bound is generous (twice the transfer's time-out): a slow line
    // may still be sending after the transfer's own deadline.
    if (sent) m_drainUntil = deadline + std::chrono::milliseconds(std::max(timeoutMs, 0));
    return LogReadResult::kCancelled;
  };
  if (ended()) return LogReadResult::kCancelled;
  // The rest of an earlier cancelled log first; a cancel meanwhile must not
  // start another one.
  if (m_transport) DrainAbandonedLocked();
  if (ended()) return LogReadResult::kCancelled;

  const auto frame = protocol::MakeFrame('A', 'D', blockCount);
  sent = SendLocked(frame.data(), frame.size());
  deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  if (!sent) return failed();

  // The reply is read in pieces of whole blocks, so that a log longer than
  // the receive buffer neither overruns it nor is refused.
  const std::size_t walked = std::min(total, static_cast<std::size_t>(blockCount) * protocol::kLogBlockSize);
  const std::size_t wanted = static_cast<std::size_t>(valueCount);
  values.reserve(std::min<std::size_t>(wanted, kReceiveBufferSize));
  std::size_t done = 0;
  while (done < total) {
    if (ended()) return failed();
    const std::size_t piece = std::min({total - done, pieceBytes, kReceiveBufferSize});
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    // The first piece gets the whole time-out; later ones what is left of it.
    const int wait = done == 0 ? timeoutMs : static_cast<int>(std::max<long long>(left.count(), 0));
    if (!ReadBlockLocked(piece, wait)) return failed();
    if (done == 0 && !protocol::IsLogBlock(m_receive.get(), m_received)) return failed();
    if (done < walked && values.size() < wanted) {
      const std::size_t usable = std::min(piece, walked - done);
      const int firstBlock = static_cast<int>(done / protocol::kLogBlockSize);
      protocol::ForEachLogValue(m_receive.get(), usable, firstBlock, static_cast<int>(wanted - values.size()),
                                [&values](std::uint16_t raw) { values.push_back(raw); });
    }
    done += piece;
    if (control) control->Advance(done);
  }
  m_received = 0;
  std::lock_guard state(m_stateMutex);
  m_lastReplyKind = ReplyKind::Measurement;
  return LogReadResult::kDone;
}

}  // namespace wattrix
