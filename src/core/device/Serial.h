#pragma once

#include "core/device/IoCanceller.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace wattrix {

// Error codes CSerial keeps; any other value is the errno of the failing call.
namespace serial_error {
constexpr std::int32_t kSuccess = 0;
constexpr std::int32_t kInvalidFunction = 1;     // time-out on a port not opened for it
constexpr std::int32_t kInvalidHandle = 6;       // port not open
constexpr std::int32_t kInvalidParameter = 87;   // line setting the port cannot take
constexpr std::int32_t kOperationAborted = 995;  // ended by CancelPendingIo
constexpr std::int32_t kAlreadyInitialized = 1247;
constexpr std::int32_t kTimeout = 1460;
constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80070057u);
}  // namespace serial_error

// One serial port (a tty) driven through termios and poll. Every operation
// returns the error code it keeps (0 on success) unless it says otherwise.
//
// How the port's features map onto a Linux tty:
// - "Overlapped" ports are the ones whose Read, Write and WaitEvent may wait
//   with a finite time-out (poll); a port opened without it allows only
//   waits without time-out (anything else fails with kInvalidFunction).
//   Calls always complete before they return, so there is no request record
//   to hand back; a wait that times out returns kTimeout and reports the
//   bytes already moved, a cancelled one kOperationAborted.
// - Exclusive opening is an advisory lock (flock) plus TIOCEXCL.
// - Queue sizes cannot be set on a tty and are ignored.
// - The port's stored default configuration is raw mode, receiver on,
//   modem status lines ignored, no flow control.
// - Events: kEvRxChar is input waiting (level, not edge); kEvRxFlag cannot
//   be told apart by termios without reading, so input wakes such a wait
//   and is reported as kEvRxChar; kEvBreak and kEvErr come from the UART's
//   interrupt counters (real ports only). Other bits are kept but never
//   reported.
// - Handshaking "hardware" is RTS/CTS (Linux has no DSR flow control);
//   "off" and "software" drop DTR and RTS, "hardware" raises them.
class CSerial {
 public:
  enum Parity { kParityNone = 0, kParityOdd = 1, kParityEven = 2, kParityMark = 3, kParitySpace = 4 };
  enum StopBits { kStopOne = 0, kStopOneAndHalf = 1, kStopTwo = 2 };
  enum Handshake { kHandshakeOff = 0, kHandshakeHardware = 1, kHandshakeSoftware = 2 };
  enum ReadTimeout { kReadNonBlocking = 0, kReadBlocking = 1 };
  static constexpr std::uint32_t kEvRxChar = 0x0001;
  static constexpr std::uint32_t kEvRxFlag = 0x0002;
  static constexpr std::uint32_t kEvTxEmpty = 0x0004;
  static constexpr std::uint32_t kEvBreak = 0x0040;
  static constexpr std::uint32_t kEvErr = 0x0080;
  static constexpr std::uint32_t kDefaultMask = kEvBreak | kEvErr | kEvRxChar;  // 193

  CSerial();
  virtual ~CSerial();
  CSerial(const CSerial&) = delete;
  CSerial& operator=(const CSerial&) = delete;

  virtual std::int32_t Open(const std::string& device, unsigned inQueue = 0, unsigned outQueue = 0,
                            bool overlapped = false);
  virtual std::int32_t Close();
  virtual std::int32_t Setup(int baudRate, int dataBits, int parity, int stopBits);
  virtual std::int32_t SetEventChar(std::uint8_t eventChar, bool adjustMask = true);
  virtual std::int32_t SetMask(std::uint32_t mask);
  // Waits for an event of the mask; GetReceivedEvents() tells which came.
  virtual std::int32_t WaitEvent(int timeoutMs = -1);
  virtual std::int32_t SetupHandshaking(int mode);
  virtual std::int32_t SetupReadTimeouts(int mode);

  // Line settings; -1 when they cannot be read.
  virtual int GetBaudRate();
  virtual int GetDataBits();
  virtual int GetParity();
  virtual int GetStopBits();
  virtual int GetHandshaking();
  virtual std::uint32_t GetEventMask();
  virtual std::uint8_t GetEventChar();

  virtual std::int32_t WriteText(const char* text, std::size_t* written = nullptr, int timeoutMs = -1);
  // Writes all bytes; time-out in ms, -1 = none.
  virtual std::int32_t Write(const void* data, std::size_t count, std::size_t* written = nullptr,
                             int timeoutMs = -1);
  // Non-blocking read mode: takes what has arrived and returns at once.
  // Blocking mode: waits for `count` bytes (or the time-out).
  virtual std::int32_t Read(void* buffer, std::size_t count, std::size_t* read = nullptr, int timeoutMs = -1);

  bool IsOpen() const { return m_fd >= 0; }
  std::int32_t GetLastError() const { return m_lastError; }
  std::uint32_t GetReceivedEvents() const { return m_receivedEvents; }
  // Throws away received bytes not yet read (and, when asked, unsent ones).
  std::int32_t Purge(bool input, bool output);
  // Waits until input is there, for a caller that holds a cancel ticket
  // across several calls: 0 ready, kTimeout, kOperationAborted, or the
  // errno of a hang-up.
  std::int32_t WaitInput(std::uint64_t ticket, IoCanceller::Clock::time_point deadline);
  // Ends a waiting Read, Write or WaitEvent from any thread.
  void CancelPendingIo() { m_canceller.Cancel(); }
  IoCanceller& Canceller() { return m_canceller; }

 private:
  std::int32_t Fail(std::int32_t code) { return m_lastError = code; }
  bool CheckOpen();
  bool MayWait(int timeoutMs);
  std::int32_t ApplyDefaultConfiguration();
  void SetModemLines(bool raised);
  bool ErrorCounters(long& breaks, long& errors) const;

  int m_fd = -1;
  std::int32_t m_lastError = 0;
  std::uint32_t m_receivedEvents = 0;
  std::uint32_t m_eventMask = 0;
  std::uint8_t m_eventChar = 0;
  bool m_overlapped = false;
  int m_readMode = kReadNonBlocking;
  IoCanceller m_canceller;
};

}  // namespace wattrix
