#pragma once

#include "core/device/PowerDevice.h"

#include <memory>

namespace wattrix {

// The USB sensor: picks the driver generation (WATTRIX_USB_DRIVER) and
// hands everything to a CUsbDeviceXP or CUsbDeviceVista.
class CUsbDevice final : public CPowerDevice {
 public:
  CUsbDevice();
  ~CUsbDevice() override;

  // The port number is not used; only the first USB sensor is reached.
  bool Open(int port) override;
  void Close() override;
  bool IsOpen() const override { return m_inner != nullptr; }
  bool Write(const std::uint8_t* data, std::size_t count, std::size_t* written) override;
  bool Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs) override;
  void CancelPendingIo() override;
  void DiscardInput() override;
  bool LineGone() const override { return m_inner && m_inner->LineGone(); }

 private:
  std::unique_ptr<CPowerDevice> m_inner;
};

}  // namespace wattrix
