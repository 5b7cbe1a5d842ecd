#pragma once

#include "core/device/PowerDevice.h"
#include "core/device/TransportFactory.h"
#include "core/vocabulary/ReplyKind.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace wattrix {

// The byte channel to the sensor: the transport, the receive buffer and
// the one I/O lock, framing of commands, fixed-length reads, and keeping
// in step with the sensor (discarding late replies, resynchronising after
// a failed exchange, noticing a line that went away).
//
// Threads: members named *Locked need the caller to hold Lock() for the
// whole command-and-reply pair. The transport pointer changes only in
// Open and Close, on the owner's thread; CancelPendingIo may come from any
// thread without the lock.
class SensorChannel final {
 public:
  static constexpr std::size_t kReceiveBufferSize = 262144;

  // `lineLost` is called once per loss, with the lock held; it must not
  // take the I/O lock.
  explicit SensorChannel(std::function<void()> lineLost);
  SensorChannel(const SensorChannel&) = delete;
  SensorChannel& operator=(const SensorChannel&) = delete;

  std::unique_lock<std::mutex> Lock() { return std::unique_lock(m_ioMutex); }

  // Keeps an open transport, else makes and opens one; false when none
  // opened. Back in step, nothing to drain. Lock held.
  bool OpenLocked(const TransportFactory& factory, int port);
  // Closes and drops the transport; waits for the lock, cancelling what
  // holds it (a one-shot command on another thread may wait for a reply).
  void Close();
  void CancelPendingIo();

  // While set, every exchange still to start fails at once, on any thread.
  void SetStopping(bool stopping) { m_stopping.store(stopping); }
  bool Stopping() const { return m_stopping.load(); }

  // The line went away (end of file, an I/O error, a removed USB device):
  // from the transport's report until ResetLineLost.
  bool LineLost() const { return m_lineLost.load(); }
  void ResetLineLost() { m_lineLost.store(false); }

  // Replies refused: out of shape, followed at once by stray bytes, values
  // no model can measure. Any thread.
  std::uint64_t RejectedReplies() const { return m_rejected.load(); }
  void NoteRejected() { m_rejected.fetch_add(1); }
  void ResetRejected() { m_rejected.store(0); }

  // Sends a frame after whatever is needed to be in step; false when it
  // could not be written.
  bool SendLocked(const std::uint8_t* frame, std::size_t length);
  template <std::size_t N>
  bool SendLocked(const std::array<std::uint8_t, N>& frame) {
    return SendLocked(frame.data(), frame.size());
  }
  // Reads exactly `length` bytes into the receive buffer.
  bool ReadBlockLocked(std::size_t length, int timeoutMs);
  // Reads and parses a single-value or acknowledge reply: 0 recognised,
  // -1 the read failed, -2 not a reply (the line is then out of step).
  int ReadReplyLocked(int timeoutMs, std::size_t length, ReplyKind* kind, std::int32_t* value);
  // The outcome of ReadReplyLocked as an expected reply: a reply of
  // another kind or shape is refused and counted.
  bool ExpectKindLocked(int result, ReplyKind kind, ReplyKind wanted);
  // Checks a value frame in the receive buffer ("P" tag, closing, nothing
  // after it) and that its first `powers` values are plausible powers.
  bool CheckedFrameLocked(std::size_t length, std::int32_t* values, std::size_t powers = SIZE_MAX);
  // True when nothing follows the reply just read.
  bool ReplyEndedLocked();
  // An exchange failed in a way that can leave the line out of step.
  void LoseStepLocked() { m_outOfStep = true; }

  const std::uint8_t* DataLocked() const { return m_receive.get(); }
  std::size_t ReceivedLocked() const { return m_received; }
  void ConsumeLocked() { m_received = 0; }
  CPowerDevice* TransportLocked() { return m_transport.get(); }

  // A cancelled log transfer may go on arriving until `until`: it is
  // waited out before the next command.
  void DrainUntilLocked(std::chrono::steady_clock::time_point until) { m_drainUntil = until; }
  void DrainAbandonedLocked();

  // The last forward/reverse pair the sensor answered ([GE]), or -1s.
  std::array<std::int32_t, 2> PowerPairLocked() const { return m_powerPair; }
  void SetPowerPairLocked(const std::array<std::int32_t, 2>& pair) { m_powerPair = pair; }

  // One command and its acknowledge, under the lock; true when acknowledged.
  bool CommandAck(char first, char second, std::int32_t parameter, int timeoutMs);
  // One short query and its single-value reply of kind `wanted`.
  bool Query(char first, char second, ReplyKind wanted, int timeoutMs, std::int32_t& value);

 private:
  // Resynchronisation: after a failed exchange a late reply may still be
  // on its way, and the frames carry no request tag. The identification
  // query is sent as a marker and everything up to its reply is thrown
  // away; the sensor answers in order, so nothing older can follow it.
  bool ResyncLocked();
  // Looks at the transport after a call; a gone line ends the asking.
  void CheckLineLocked();

  // Held for each command-and-reply pair.
  std::mutex m_ioMutex;
  std::function<void()> m_lineLostCallback;
  std::unique_ptr<CPowerDevice> m_transport;
  std::unique_ptr<std::uint8_t[]> m_receive;
  std::size_t m_received = 0;
  bool m_outOfStep = false;
  std::chrono::steady_clock::time_point m_drainUntil{};
  std::array<std::int32_t, 2> m_powerPair{-1, -1};

  std::atomic<bool> m_stopping{false};
  std::atomic<bool> m_lineLost{false};
  std::atomic<std::uint64_t> m_rejected{0};
};

}  // namespace wattrix
