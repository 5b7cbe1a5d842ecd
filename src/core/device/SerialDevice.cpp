#include "core/device/SerialDevice.h"

#include "core/device/PortMap.h"

#include <chrono>

namespace wattrix {

namespace {

// Twice the time 9600 baud needs for the bytes, plus a second: a write that
// takes longer is stuck behind flow control and would never finish.
int WriteTimeoutMs(std::size_t count) { return 1000 + static_cast<int>(count * 2); }

}  // namespace

bool CSerialDevice::Open(int port) {
  if (port < 1) return false;
  PortMap map;
  map.Scan();
  const auto path = map.PathOf(port);
  return !path.empty() && OpenPath(path);
}

std::int32_t CSerialDevice::Note(std::int32_t code) {
  // Anything but success, a time-out or a cancel is the tty failing: a
  // hang-up (EIO) or a port that went away.
  if (code != serial_error::kSuccess && code != serial_error::kTimeout &&
      code != serial_error::kOperationAborted)
    m_lineGone.store(true);
  return code;
}

bool CSerialDevice::OpenPath(const std::string& path) {
  if (m_serial.Open(path, 0, 0, true) != serial_error::kSuccess) return false;
  m_lineGone.store(false);
  m_serial.Setup(9600, 8, CSerial::kParityNone, CSerial::kStopOne);
  return true;
}

bool CSerialDevice::Write(const std::uint8_t* data, std::size_t count, std::size_t* written) {
  std::size_t local = 0;
  if (!written) written = &local;
  *written = 0;
  if (!m_serial.IsOpen()) return false;
  auto& canceller = m_serial.Canceller();
  const auto ticket = canceller.Begin();
  Note(m_serial.Write(data, count, written, WriteTimeoutMs(count)));
  if (canceller.IsCancelled(ticket) || m_lineGone.load()) return false;
  const auto pauseEnd = IoCanceller::Clock::now() + std::chrono::milliseconds(kWritePauseMs);
  return canceller.Wait(ticket, -1, 0, pauseEnd) == IoCanceller::WaitResult::kTimedOut;
}

bool CSerialDevice::Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs) {
  if (!m_serial.IsOpen()) return false;
  const auto ticket = m_serial.Canceller().Begin();
  const auto deadline = IoCanceller::Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
  std::size_t got = 0;
  for (;;) {
    std::size_t n = 0;
    if (Note(m_serial.Read(buffer + got, count - got, &n, -1)) != serial_error::kSuccess) return false;
    got += n;
    if (got == count) {
      if (received) *received = count;
      return true;
    }
    if (Note(m_serial.WaitInput(ticket, deadline)) != serial_error::kSuccess) return false;
  }
}

}  // namespace wattrix
