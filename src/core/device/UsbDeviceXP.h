#pragma once

#include "core/device/FdTransfer.h"
#include "core/device/IoCanceller.h"
#include "core/device/PowerDevice.h"
#include "core/device/UniqueFd.h"

#include <atomic>

namespace wattrix {

// The single-handle USB driver: the first device path of its interface
// class that opens is the sensor, read and written as one file.
class CUsbDeviceXP final : public CPowerDevice {
 public:
  bool Open(int port) override;
  void Close() override;
  bool IsOpen() const override { return m_fd.IsValid(); }
  bool Write(const std::uint8_t* data, std::size_t count, std::size_t* written) override;
  // Gathers until `count` bytes are there or the time-out; true when
  // something arrived (`received` tells how much).
  bool Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs) override;
  void CancelPendingIo() override { m_canceller.Cancel(); }
  void DiscardInput() override;
  bool LineGone() const override { return m_lineGone.load(); }

 private:
  // Notes an outcome that means the device is gone.
  fdio::Outcome Note(fdio::Outcome outcome);
  UniqueFd m_fd;
  IoCanceller m_canceller;
  std::atomic<bool> m_lineGone{false};
};

}  // namespace wattrix
