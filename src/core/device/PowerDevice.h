#pragma once

#include <cstddef>
#include <cstdint>

namespace wattrix {

// The byte transport to one sensor: a COM port (CSerialDevice) or the USB
// driver interface (CUsbDevice), or an in-process loopback in the tests.
// Framing and commands live above it, in SensorLink.
class CPowerDevice {
 public:
  virtual ~CPowerDevice() = default;

  // Port number 1 or more: COM port; 0 or less: the USB sensor.
  virtual bool Open(int port) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual bool Write(const std::uint8_t* data, std::size_t count, std::size_t* written) = 0;
  // Reads `count` bytes within `timeoutMs`. True only when the transport
  // reports success; `received` gets the bytes actually read.
  virtual bool Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs) = 0;

  // Ends a Read (or the pause after a Write) that is waiting, from any
  // thread; the interrupted call returns false at once. Later calls wait
  // normally again.
  virtual void CancelPendingIo() = 0;
  // Throws away input that has arrived but not been read (the tail of an
  // answer that came too late for its request).
  virtual void DiscardInput() = 0;
  // True once a call found the line itself gone (end of file, an I/O
  // error, the device removed), as opposed to a time-out or a cancel; false
  // again after the next successful Open.
  virtual bool LineGone() const { return false; }
};

}  // namespace wattrix
