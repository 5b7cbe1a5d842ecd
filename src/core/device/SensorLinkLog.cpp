// The log download of SensorLink.
#include "core/device/LogBlockDecoder.h"
#include "core/device/SensorLink.h"
#include "core/device/SensorProtocol.h"

#include <algorithm>
#include <chrono>

namespace wattrix {

LogReadResult SensorLink::ReadLog(int timeoutMs, int byteCount, int blockCount, int valueCount,
                                  std::vector<std::uint16_t>& values, LogTransferControl* control) {
  const auto io = m_channel.Lock();
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
    control->Begin(total, [device = m_channel.TransportLocked()] {
      if (device) device->CancelPendingIo();
    });
  auto ended = [control] { return control != nullptr && control->Cancelled(); };
  auto deadline = std::chrono::steady_clock::time_point{};
  bool sent = false;
  auto failed = [this, &ended, &values, &deadline, &sent, timeoutMs] {
    m_channel.ConsumeLocked();
    values.clear();
    if (!ended()) return LogReadResult::kFailed;
    // The sensor cannot be stopped: what it still sends is waited out
    // before the next command, not taken for that command's answer.
    // The bound is generous (twice the transfer's time-out): a slow line
    // may still be sending after the transfer's own deadline.
    if (sent) m_channel.DrainUntilLocked(deadline + std::chrono::milliseconds(std::max(timeoutMs, 0)));
    return LogReadResult::kCancelled;
  };
  if (ended()) return LogReadResult::kCancelled;
  // The rest of an earlier cancelled log first; a cancel meanwhile must not
  // start another one.
  m_channel.DrainAbandonedLocked();
  if (ended()) return LogReadResult::kCancelled;

  sent = m_channel.SendLocked(protocol::MakeFrame('A', 'D', blockCount));
  deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  if (!sent) return failed();

  // The reply is read in pieces of whole blocks, so that a log longer than
  // the receive buffer neither overruns it nor is refused: a block at a
  // time when watched, so that progress and cancel come at least every half
  // second on a 9600-baud line, else in buffer-sized pieces.
  const std::size_t pieceBytes = control ? protocol::kLogBlockSize : kReceiveBufferSize;
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
    if (!m_channel.ReadBlockLocked(piece, wait)) return failed();
    const std::uint8_t* data = m_channel.DataLocked();
    if (done == 0 && !protocol::IsLogBlock(data, m_channel.ReceivedLocked())) return failed();
    if (done < walked && values.size() < wanted) {
      const std::size_t usable = std::min(piece, walked - done);
      const int firstBlock = static_cast<int>(done / protocol::kLogBlockSize);
      protocol::ForEachLogValue(data, usable, firstBlock, static_cast<int>(wanted - values.size()),
                                [&values](std::uint16_t raw) { values.push_back(raw); });
    }
    done += piece;
    if (control) control->Advance(done);
  }
  m_channel.ConsumeLocked();
  return LogReadResult::kDone;
}

}  // namespace wattrix
