#include "core/device/Serial.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

namespace wattrix {

namespace {

using WaitResult = IoCanceller::WaitResult;

struct BaudEntry {
  int rate;
  speed_t speed;
};

constexpr BaudEntry kBaudRates[] = {
    {110, B110},       {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},
    {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool SpeedOf(int rate, speed_t& speed) {
  for (const auto& entry : kBaudRates) {
    if (entry.rate == rate) {
      speed = entry.speed;
      return true;
    }
  }
  return false;
}

int RateOf(speed_t speed) {
  for (const auto& entry : kBaudRates) {
    if (entry.speed == speed) return entry.rate;
  }
  return -1;
}

constexpr auto kCounterPeriod = std::chrono::milliseconds(10);

std::int32_t ErrnoCode() { return errno != 0 ? errno : EIO; }

}  // namespace

CSerial::CSerial() = default;

CSerial::~CSerial() { CSerial::Close(); }

bool CSerial::CheckOpen() {
  m_lastError = serial_error::kSuccess;
  if (m_fd >= 0) return true;
  m_lastError = serial_error::kInvalidHandle;
  return false;
}

bool CSerial::MayWait(int timeoutMs) {
  if (m_overlapped || timeoutMs == -1) return true;
  m_lastError = serial_error::kInvalidFunction;
  return false;
}

std::int32_t CSerial::Open(const std::string& device, unsigned /*inQueue*/, unsigned /*outQueue*/,
                           bool overlapped) {
  m_lastError = serial_error::kSuccess;
  if (m_fd >= 0) return Fail(serial_error::kAlreadyInitialized);
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Fail(ErrnoCode());
  if (!::isatty(fd)) {
    ::close(fd);
    return Fail(ENOTTY);
  }
  // No sharing: a second opener, in this process or another, is refused.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno == EWOULDBLOCK ? EBUSY : ErrnoCode();
    ::close(fd);
    return Fail(error);
  }
  ::ioctl(fd, TIOCEXCL);
  if (overlapped && !m_canceller.IsValid()) {
    ::close(fd);
    return Fail(EMFILE);
  }
  m_fd = fd;
  m_overlapped = overlapped;
  m_receivedEvents = 0;
  SetMask(kDefaultMask);
  SetupReadTimeouts(kReadNonBlocking);
  ApplyDefaultConfiguration();
  // What arrived before the port was opened belongs to nobody.
  ::tcflush(m_fd, TCIOFLUSH);
  m_lastError = serial_error::kSuccess;
  return m_lastError;
}

std::int32_t CSerial::ApplyDefaultConfiguration() {
  termios t{};
  if (::tcgetattr(m_fd, &t) != 0) return Fail(ErrnoCode());
  ::cfmakeraw(&t);
  t.c_cflag |= CREAD | CLOCAL;
  t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  if (::tcsetattr(m_fd, TCSANOW, &t) != 0) return Fail(ErrnoCode());
  return serial_error::kSuccess;
}

std::int32_t CSerial::Close() {
  m_lastError = serial_error::kSuccess;
  if (m_fd < 0) return m_lastError;
  // The exclusive flag outlives this descriptor when someone else keeps the
  // tty open (the simulated sensor does), so clear it for the next opener.
  ::ioctl(m_fd, TIOCNXCL);
  ::close(m_fd);
  m_fd = -1;
  m_overlapped = false;
  return m_lastError;
}

std::int32_t CSerial::Setup(int baudRate, int dataBits, int parity, int stopBits) {
  if (!CheckOpen()) return m_lastError;
  termios t{};
  if (::tcgetattr(m_fd, &t) != 0) return Fail(ErrnoCode());
  speed_t speed = B0;
  if (!SpeedOf(baudRate, speed)) return Fail(serial_error::kInvalidParameter);
  tcflag_t size = 0;
  switch (dataBits) {
    case 5:
      size = CS5;
      break;
    case 6:
      size = CS6;
      break;
    case 7:
      size = CS7;
      break;
    case 8:
      size = CS8;
      break;
    default:
      return Fail(serial_error::kInvalidParameter);
  }
  if (parity < kParityNone || parity > kParitySpace) return Fail(serial_error::kInvalidParameter);
  // One and a half stop bits exist only with five data bits.
  if (stopBits < kStopOne || stopBits > kStopTwo || (stopBits == kStopOneAndHalf && dataBits != 5)) {
    return Fail(serial_error::kInvalidParameter);
  }
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
  t.c_cflag |= size;
  t.c_iflag &= ~static_cast<tcflag_t>(INPCK);
  if (parity != kParityNone) {
    t.c_cflag |= PARENB;
    t.c_iflag |= INPCK;
    if (parity == kParityOdd || parity == kParityMark) t.c_cflag |= PARODD;
    if (parity == kParityMark || parity == kParitySpace) t.c_cflag |= CMSPAR;
  }
  if (stopBits != kStopOne) t.c_cflag |= CSTOPB;
  ::cfsetispeed(&t, speed);
  ::cfsetospeed(&t, speed);
  if (::tcsetattr(m_fd, TCSANOW, &t) != 0) return Fail(ErrnoCode());
  return m_lastError;
}

std::int32_t CSerial::SetEventChar(std::uint8_t eventChar, bool adjustMask) {
  if (!CheckOpen()) return m_lastError;
  m_eventChar = eventChar;
  if (adjustMask) return SetMask(m_eventMask | kEvRxFlag);
  return m_lastError;
}

std::int32_t CSerial::SetMask(std::uint32_t mask) {
  if (!CheckOpen()) return m_lastError;
  m_eventMask = mask;
  return m_lastError;
}

bool CSerial::ErrorCounters(long& breaks, long& errors) const {
  serial_icounter_struct counts{};
  if (::ioctl(m_fd, TIOCGICOUNT, &counts) != 0) return false;
  breaks = counts.brk;
  errors = static_cast<long>(counts.frame) + counts.overrun + counts.parity + counts.buf_overrun;
  return true;
}

std::int32_t CSerial::WaitEvent(int timeoutMs) {
  m_receivedEvents = 0;
  if (!CheckOpen() || !MayWait(timeoutMs)) return m_lastError;
  if (m_eventMask == 0) return Fail(serial_error::kInvalidParameter);
  const auto ticket = m_canceller.Begin();
  const auto deadline = IoCanceller::DeadlineAfter(timeoutMs);
  const bool wantsInput = (m_eventMask & (kEvRxChar | kEvRxFlag)) != 0;
  const bool wantsLine = (m_eventMask & (kEvBreak | kEvErr)) != 0;
  long breaks0 = 0;
  long errors0 = 0;
  const bool counters = wantsLine && ErrorCounters(breaks0, errors0);
  for (;;) {
    // Without interest in input, waiting for it would return at once for
    // as long as it is unread; look at the counters every few ms instead.
    auto wakeAt = deadline;
    if (counters && !wantsInput) wakeAt = std::min(deadline, IoCanceller::Clock::now() + kCounterPeriod);
    short revents = 0;
    const auto result = m_canceller.Wait(ticket, wantsInput ? m_fd : -1, POLLIN | POLLPRI, wakeAt, &revents);
    if (result == WaitResult::kCancelled) return Fail(serial_error::kOperationAborted);
    if (result == WaitResult::kFailed) return Fail(ErrnoCode());
    if (result == WaitResult::kTimedOut && wakeAt == deadline) return Fail(serial_error::kTimeout);
    std::uint32_t events = 0;
    long breaks = 0;
    long errors = 0;
    if (counters && ErrorCounters(breaks, errors)) {
      if (breaks > breaks0 && (m_eventMask & kEvBreak)) events |= kEvBreak;
      if (errors > errors0 && (m_eventMask & kEvErr)) events |= kEvErr;
    }
    if ((revents & POLLIN) && wantsInput) events |= kEvRxChar;
    if ((revents & (POLLHUP | POLLERR)) && !(revents & POLLIN)) return Fail(EIO);
    if (events != 0) {
      m_receivedEvents = events;
      return m_lastError;
    }
  }
}

void CSerial::SetModemLines(bool raised) {
  int lines = TIOCM_DTR | TIOCM_RTS;
  // A pty has no modem lines; that is not an error of the handshake set-up.
  ::ioctl(m_fd, raised ? TIOCMBIS : TIOCMBIC, &lines);
}

std::int32_t CSerial::SetupHandshaking(int mode) {
  if (!CheckOpen()) return m_lastError;
  if (mode != kHandshakeOff && mode != kHandshakeHardware && mode != kHandshakeSoftware) {
    return Fail(serial_error::kInvalidArgument);
  }
  termios t{};
  if (::tcgetattr(m_fd, &t) != 0) return Fail(ErrnoCode());
  t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  if (mode == kHandshakeHardware) t.c_cflag |= CRTSCTS;
  if (mode == kHandshakeSoftware) t.c_iflag |= IXON | IXOFF;
  if (::tcsetattr(m_fd, TCSANOW, &t) != 0) return Fail(ErrnoCode());
  SetModemLines(mode == kHandshakeHardware);
  return m_lastError;
}

std::int32_t CSerial::SetupReadTimeouts(int mode) {
  if (!CheckOpen()) return m_lastError;
  if (mode != kReadNonBlocking && mode != kReadBlocking) return Fail(serial_error::kInvalidArgument);
  m_readMode = mode;
  return m_lastError;
}

int CSerial::GetBaudRate() {
  termios t{};
  if (!CheckOpen() || ::tcgetattr(m_fd, &t) != 0) return -1;
  return RateOf(::cfgetospeed(&t));
}

int CSerial::GetDataBits() {
  termios t{};
  if (!CheckOpen() || ::tcgetattr(m_fd, &t) != 0) return -1;
  switch (t.c_cflag & CSIZE) {
    case CS5:
      return 5;
    case CS6:
      return 6;
    case CS7:
      return 7;
    default:
      return 8;
  }
}

int CSerial::GetParity() {
  termios t{};
  if (!CheckOpen() || ::tcgetattr(m_fd, &t) != 0) return -1;
  if (!(t.c_cflag & PARENB)) return kParityNone;
  const bool odd = (t.c_cflag & PARODD) != 0;
  if (t.c_cflag & CMSPAR) return odd ? kParityMark : kParitySpace;
  return odd ? kParityOdd : kParityEven;
}

int CSerial::GetStopBits() {
  termios t{};
  if (!CheckOpen() || ::tcgetattr(m_fd, &t) != 0) return -1;
  if (!(t.c_cflag & CSTOPB)) return kStopOne;
  return (t.c_cflag & CSIZE) == CS5 ? kStopOneAndHalf : kStopTwo;
}

int CSerial::GetHandshaking() {
  termios t{};
  if (!CheckOpen() || ::tcgetattr(m_fd, &t) != 0) return -1;
  if (t.c_cflag & CRTSCTS) return kHandshakeHardware;
  if ((t.c_iflag & IXON) && (t.c_iflag & IXOFF)) return kHandshakeSoftware;
  return kHandshakeOff;
}

std::uint32_t CSerial::GetEventMask() {
  CheckOpen();
  return m_eventMask;
}

std::uint8_t CSerial::GetEventChar() {
  CheckOpen();
  return m_eventChar;
}

std::int32_t CSerial::WriteText(const char* text, std::size_t* written, int timeoutMs) {
  return Write(text, text ? std::strlen(text) : 0, written, timeoutMs);
}

std::int32_t CSerial::Write(const void* data, std::size_t count, std::size_t* written, int timeoutMs) {
  std::size_t local = 0;
  if (!written) written = &local;
  *written = 0;
  if (!CheckOpen() || !MayWait(timeoutMs)) return m_lastError;
  const auto ticket = m_canceller.Begin();
  const auto deadline = IoCanceller::DeadlineAfter(timeoutMs);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (*written < count) {
    const ssize_t n = ::write(m_fd, bytes + *written, count - *written);
    if (n > 0) {
      *written += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return Fail(ErrnoCode());
    const auto result = m_canceller.Wait(ticket, m_fd, POLLOUT, deadline);
    if (result == WaitResult::kTimedOut) return Fail(serial_error::kTimeout);
    if (result == WaitResult::kCancelled) return Fail(serial_error::kOperationAborted);
    if (result == WaitResult::kFailed) return Fail(ErrnoCode());
  }
  return m_lastError;
}

std::int32_t CSerial::Read(void* buffer, std::size_t count, std::size_t* read, int timeoutMs) {
  std::size_t local = 0;
  if (!read) read = &local;
  *read = 0;
  if (!CheckOpen() || !MayWait(timeoutMs)) return m_lastError;
  const auto ticket = m_canceller.Begin();
  const auto deadline = IoCanceller::DeadlineAfter(timeoutMs);
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  while (*read < count) {
    const ssize_t n = ::read(m_fd, bytes + *read, count - *read);
    if (n > 0) {
      *read += static_cast<std::size_t>(n);
      continue;
    }
    // With O_NONBLOCK an empty tty says EAGAIN; end of file means hang-up.
    if (n == 0) return Fail(EIO);
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return Fail(ErrnoCode());
    if (m_readMode == kReadNonBlocking) break;
    const auto result = m_canceller.Wait(ticket, m_fd, POLLIN, deadline);
    if (result == WaitResult::kTimedOut) return Fail(serial_error::kTimeout);
    if (result == WaitResult::kCancelled) return Fail(serial_error::kOperationAborted);
    if (result == WaitResult::kFailed) return Fail(ErrnoCode());
  }
  return m_lastError;
}

std::int32_t CSerial::WaitInput(std::uint64_t ticket, IoCanceller::Clock::time_point deadline) {
  if (!CheckOpen()) return m_lastError;
  short revents = 0;
  switch (m_canceller.Wait(ticket, m_fd, POLLIN, deadline, &revents)) {
    case WaitResult::kReady:
      // Hang-up without data: the next read reports it, so say so now.
      return (revents & POLLIN) ? m_lastError : Fail(EIO);
    case WaitResult::kTimedOut:
      return Fail(serial_error::kTimeout);
    case WaitResult::kCancelled:
      return Fail(serial_error::kOperationAborted);
    case WaitResult::kFailed:
      break;
  }
  return Fail(ErrnoCode());
}

std::int32_t CSerial::Purge(bool input, bool output) {
  if (!CheckOpen()) return m_lastError;
  if (!input && !output) return m_lastError;
  const int which = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
  if (::tcflush(m_fd, which) != 0) return Fail(ErrnoCode());
  return m_lastError;
}

}  // namespace wattrix
