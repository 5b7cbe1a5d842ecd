#pragma once

#include "core/device/PowerDevice.h"
#include "core/device/Serial.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace wattrix {

// A sensor on a COM port: 9600 baud, 8 data bits, no parity, one stop bit,
// raw. Every write is followed by a 500 ms pause (the sensor needs it before
// it answers); reads wait on the port for the whole reply or the time-out.
class CSerialDevice final : public CPowerDevice {
 public:
  static constexpr int kWritePauseMs = 500;

  CSerialDevice() = default;

  // COM<port> through the port mapping (PortMap).
  bool Open(int port) override;
  // A tty by path, set up as Open does.
  bool OpenPath(const std::string& path);
  void Close() override { m_serial.Close(); }
  bool IsOpen() const override { return m_serial.IsOpen(); }
  // True once the bytes are out and the pause is over; false only when
  // cancelled or not open.
  bool Write(const std::uint8_t* data, std::size_t count, std::size_t* written) override;
  // True when exactly `count` bytes arrived within the time-out; otherwise
  // false and `received` is left as it was.
  bool Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs) override;
  void CancelPendingIo() override { m_serial.CancelPendingIo(); }
  void DiscardInput() override { m_serial.Purge(true, false); }
  bool LineGone() const override { return m_lineGone.load(); }

  CSerial& Port() { return m_serial; }

 private:
  // Notes a result of the port that means the line is gone.
  std::int32_t Note(std::int32_t code);

  CSerial m_serial;
  std::atomic<bool> m_lineGone{false};
};

}  // namespace wattrix
