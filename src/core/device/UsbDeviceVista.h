#pragma once

#include "core/device/FdTransfer.h"
#include "core/device/IoCanceller.h"
#include "core/device/PowerDevice.h"
#include "core/device/UniqueFd.h"

#include <atomic>
#include <string>

namespace wattrix {

// The two-pipe USB driver: the first device path of its interface class
// that opens holds the pipes PIPE01 (read) and PIPE00 (write).
class CUsbDeviceVista final : public CPowerDevice {
 public:
  bool Open(int port) override;
  void Close() override;
  bool IsOpen() const override { return m_read.IsValid() && m_write.IsValid(); }
  bool Write(const std::uint8_t* data, std::size_t count, std::size_t* written) override;
  bool Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs) override;
  void CancelPendingIo() override { m_canceller.Cancel(); }
  void DiscardInput() override;
  bool LineGone() const override { return m_lineGone.load(); }

  bool HasReadPipe() const { return m_read.IsValid(); }
  bool HasWritePipe() const { return m_write.IsValid(); }

 private:
  // Notes an outcome that means the device is gone.
  fdio::Outcome Note(fdio::Outcome outcome);
  static UniqueFd OpenPipeAt(const std::string& device, const char* pipe, int flags);

  UniqueFd m_read;
  UniqueFd m_write;
  IoCanceller m_canceller;
  std::atomic<bool> m_lineGone{false};
};

}  // namespace wattrix
