#include "core/device/UsbDeviceXP.h"

#include "core/device/FdTransfer.h"
#include "core/device/UsbInterfaces.h"

#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace wattrix {

namespace {

// A write the device does not take within this time is not going to finish.
constexpr int kWriteTimeoutMs = 5000;

}  // namespace

bool CUsbDeviceXP::Open(int /*port*/) {
  if (m_fd.IsValid()) return true;
  for (const auto& path : usb::DevicePaths(usb::kSingleHandleInterface)) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.IsValid()) continue;
    // Not shared: a device another program holds does not open.
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) continue;
    if (::isatty(fd.Get())) {
      fdio::MakeRaw(fd.Get());
      ::tcflush(fd.Get(), TCIOFLUSH);
    }
    m_fd = std::move(fd);
    m_lineGone.store(false);
    return true;
  }
  return false;
}

void CUsbDeviceXP::Close() { m_fd.Reset(); }

bool CUsbDeviceXP::Write(const std::uint8_t* data, std::size_t count, std::size_t* written) {
  std::size_t local = 0;
  if (!written) written = &local;
  *written = 0;
  if (!m_fd.IsValid()) return false;
  const auto ticket = m_canceller.Begin();
  return Note(fdio::WriteAll(m_fd.Get(), m_canceller, ticket, data, count,
                             IoCanceller::DeadlineAfter(kWriteTimeoutMs), *written)) ==
         fdio::Outcome::kComplete;
}

bool CUsbDeviceXP::Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs) {
  if (received) *received = 0;
  if (!m_fd.IsValid()) return false;
  const auto ticket = m_canceller.Begin();
  std::size_t got = 0;
  const auto outcome = Note(fdio::ReadGather(m_fd.Get(), m_canceller, ticket, buffer, count,
                                             IoCanceller::DeadlineAfter(timeoutMs > 0 ? timeoutMs : 0), got));
  if (received) *received = got;
  if (outcome == fdio::Outcome::kComplete) return true;
  return outcome != fdio::Outcome::kCancelled && got > 0;
}

fdio::Outcome CUsbDeviceXP::Note(fdio::Outcome outcome) {
  // A hang-up or an error of the descriptor itself: the device is gone.
  if (outcome == fdio::Outcome::kHungUp || outcome == fdio::Outcome::kFailed) m_lineGone.store(true);
  return outcome;
}

void CUsbDeviceXP::DiscardInput() {
  if (m_fd.IsValid()) fdio::DiscardInput(m_fd.Get());
}

}  // namespace wattrix
