#include "core/device/UsbDeviceVista.h"

#include "core/platform/TraceSink.h"
#include "core/device/FdTransfer.h"
#include "core/device/UsbInterfaces.h"

#include <fcntl.h>
#include <unistd.h>
#include <climits>

namespace wattrix {

namespace {

constexpr int kWriteTimeoutMs = 5000;

}  // namespace

UniqueFd CUsbDeviceVista::OpenPipeAt(const std::string& device, const char* pipe, int flags) {
  const auto path = device + "/" + pipe;
  if (path.size() >= PATH_MAX) return UniqueFd();
  // Non-blocking, so that neither end waits for its peer: the read pipe
  // opens without a writer; the write pipe fails (ENXIO) without a reader,
  // that is, without a sensor serving it.
  return UniqueFd(::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
}

bool CUsbDeviceVista::Open(int /*port*/) {
  if (IsOpen()) return true;
  // The first device whose pipes open; an entry left behind by a sensor
  // that died has no reader on its write pipe and is passed over, as a
  // device that is no longer present.
  for (const auto& device : usb::DevicePaths(usb::kTwoPipeInterface)) {
    UniqueFd probe(::open(device.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!probe.IsValid()) {
      Trace("FAILED to open " + device);
      continue;
    }
    m_read = OpenPipeAt(device, usb::kReadPipe, O_RDONLY);
    m_write = OpenPipeAt(device, usb::kWritePipe, O_WRONLY);
    if (IsOpen()) {
      // Replies meant for an earlier connection are not ours.
      fdio::DiscardInput(m_read.Get());
      m_lineGone.store(false);
      return true;
    }
    Close();
  }
  return false;
}

void CUsbDeviceVista::Close() {
  m_read.Reset();
  m_write.Reset();
}

bool CUsbDeviceVista::Write(const std::uint8_t* data, std::size_t count, std::size_t* written) {
  std::size_t local = 0;
  if (!written) written = &local;
  *written = 0;
  if (!m_write.IsValid()) return false;
  const auto ticket = m_canceller.Begin();
  return Note(fdio::WriteAll(m_write.Get(), m_canceller, ticket, data, count,
                             IoCanceller::DeadlineAfter(kWriteTimeoutMs), *written)) ==
         fdio::Outcome::kComplete;
}

bool CUsbDeviceVista::Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs) {
  if (received) *received = 0;
  if (!m_read.IsValid()) return false;
  const auto ticket = m_canceller.Begin();
  std::size_t got = 0;
  const auto outcome = Note(fdio::ReadGather(m_read.Get(), m_canceller, ticket, buffer, count,
                                             IoCanceller::DeadlineAfter(timeoutMs > 0 ? timeoutMs : 0), got));
  if (received) *received = got;
  if (outcome == fdio::Outcome::kComplete) return true;
  return outcome != fdio::Outcome::kCancelled && got > 0;
}

fdio::Outcome CUsbDeviceVista::Note(fdio::Outcome outcome) {
  // A hang-up or an error of the descriptor itself: the device is gone.
  if (outcome == fdio::Outcome::kHungUp || outcome == fdio::Outcome::kFailed) m_lineGone.store(true);
  return outcome;
}

void CUsbDeviceVista::DiscardInput() {
  if (m_read.IsValid()) fdio::DiscardInput(m_read.Get());
}

}  // namespace wattrix
