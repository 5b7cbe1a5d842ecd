#pragma once

#include "core/device/PowerDevice.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace wattrix::test {

using Bytes = std::vector<std::uint8_t>;

// The far end of a fake transport, shared between the test and the
// FakePowerDevice the link owns. A responder sees every written frame and
// queues the answer, which becomes readable after an optional delay. Reads
// wait like a serial port (exactly the wanted count, or failure at the
// time-out with what arrived consumed) and end at once on CancelPendingIo.
class FakeWire final {
 public:
  struct ReadCall {
    std::size_t count;
    int timeoutMs;
    bool ok;
  };
  using Responder = std::function<void(const Bytes& frame, FakeWire& wire)>;

  void SetResponder(Responder responder);
  // Bytes that become readable `delayMs` after now.
  void Push(const Bytes& bytes, int delayMs = 0);
  // Waits in Read are scaled by this factor (the requested time-outs are
  // still recorded as asked), so that failure paths run fast.
  void SetTimeScale(double scale);
  void SetOpenSucceeds(bool ok);
  // The sensor went away: reads and writes fail at once.
  void SetHungUp(bool hungUp);
  bool HungUp() const;

  std::vector<Bytes> Writes() const;
  // Reads with a time-out (zero-wait peeks are not listed).
  std::vector<ReadCall> Reads() const;
  void ClearLog();
  int OpenCount() const;
  int CloseCount() const;
  int LastOpenedPort() const;
  int DiscardCount() const;
  int CancelCount() const;
  // Blocks until a Read is waiting (true) or `ms` passed.
  bool WaitForWaitingRead(int ms) const;

  // The transport's side.
  bool Open(int port);
  void Close();
  bool IsOpen() const;
  bool Write(const std::uint8_t* data, std::size_t count, std::size_t* written);
  bool Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs);
  void CancelPendingIo();
  void DiscardInput();

 private:
  using Clock = std::chrono::steady_clock;
  struct Chunk {
    Clock::time_point due;
    Bytes bytes;
  };
  std::size_t ArrivedLocked(Clock::time_point now) const;

  mutable std::mutex m_mutex;
  mutable std::condition_variable m_cv;
  Responder m_responder;
  std::deque<Chunk> m_input;
  std::vector<Bytes> m_writes;
  std::vector<ReadCall> m_reads;
  double m_timeScale = 1.0;
  bool m_openSucceeds = true;
  bool m_open = false;
  bool m_hungUp = false;
  int m_opens = 0;
  int m_closes = 0;
  int m_lastPort = 0;
  int m_discards = 0;
  int m_cancels = 0;
  int m_waitingReads = 0;
  unsigned m_cancelGeneration = 0;
};

// The CPowerDevice handed to the link; forwards to the shared wire.
class FakePowerDevice final : public CPowerDevice {
 public:
  explicit FakePowerDevice(std::shared_ptr<FakeWire> wire) : m_wire(std::move(wire)) {}
  bool Open(int port) override { return m_wire->Open(port); }
  void Close() override { m_wire->Close(); }
  bool IsOpen() const override { return m_wire->IsOpen(); }
  bool Write(const std::uint8_t* data, std::size_t count, std::size_t* written) override {
    return m_wire->Write(data, count, written);
  }
  bool Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs) override {
    return m_wire->Read(buffer, count, received, timeoutMs);
  }
  void CancelPendingIo() override { m_wire->CancelPendingIo(); }
  void DiscardInput() override { m_wire->DiscardInput(); }
  // A hung-up wire is a line gone, as a real transport reports it.
  bool LineGone() const override { return m_wire->HungUp(); }

 private:
  std::shared_ptr<FakeWire> m_wire;
};

}  // namespace wattrix::test
