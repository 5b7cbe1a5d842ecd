#pragma once

#include "core/device/PowerDevice.h"
#include "sim/SimSensor.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace wattrix::sim {

// An in-process transport to a simulated sensor, for tests: a write feeds
// the sensor at once; its replies become readable after their delay. Reads
// behave like the serial port's (all wanted bytes or failure at the
// time-out, the bytes that did arrive consumed and reported), end at once
// on CancelPendingIo, and fail at once when the sensor has hung up.
class SimLoopbackDevice final : public CPowerDevice {
 public:
  explicit SimLoopbackDevice(SimConfig config);

  bool Open(int port) override;
  void Close() override;
  bool IsOpen() const override;
  bool Write(const std::uint8_t* data, std::size_t count, std::size_t* written) override;
  bool Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs) override;
  void CancelPendingIo() override;
  void DiscardInput() override;

  // A pause after every write, as the serial link has (0 by default).
  void SetWritePause(int ms);
  // Makes Open fail (a port that is not there).
  void SetOpenFails(bool fails);
  // Runs `f` on the sensor under the device's lock.
  void WithSensor(const std::function<void(SimSensor&)>& f);

 private:
  using Clock = std::chrono::steady_clock;
  struct Chunk {
    Clock::time_point due;
    Bytes bytes;
  };
  std::size_t ArrivedLocked(Clock::time_point now) const;

  mutable std::mutex m_mutex;
  std::condition_variable m_cv;
  SimSensor m_sensor;
  std::deque<Chunk> m_input;
  int m_writePauseMs = 0;
  bool m_openFails = false;
  bool m_open = false;
  unsigned m_cancelGeneration = 0;
};

}  // namespace wattrix::sim
