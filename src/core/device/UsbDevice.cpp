#include "core/device/UsbDevice.h"

#include "core/device/UsbDeviceVista.h"
#include "core/device/UsbDeviceXP.h"
#include "core/device/UsbInterfaces.h"

namespace wattrix {

CUsbDevice::CUsbDevice() = default;

CUsbDevice::~CUsbDevice() { Close(); }

bool CUsbDevice::Open(int port) {
  if (m_inner) return true;
  std::unique_ptr<CPowerDevice> inner;
  if (usb::SelectedDriver() == usb::Driver::kSingleHandle) {
    inner = std::make_unique<CUsbDeviceXP>();
  } else {
    inner = std::make_unique<CUsbDeviceVista>();
  }
  if (!inner->Open(port)) return false;  // the failed inner object goes with `inner`
  m_inner = std::move(inner);
  return true;
}

void CUsbDevice::Close() {
  if (!m_inner) return;
  m_inner->Close();
  m_inner.reset();
}

bool CUsbDevice::Write(const std::uint8_t* data, std::size_t count, std::size_t* written) {
  return m_inner && m_inner->Write(data, count, written);
}

bool CUsbDevice::Read(std::uint8_t* buffer, std::size_t count, std::size_t* received, int timeoutMs) {
  return m_inner && m_inner->Read(buffer, count, received, timeoutMs);
}

void CUsbDevice::CancelPendingIo() {
  if (m_inner) m_inner->CancelPendingIo();
}

void CUsbDevice::DiscardInput() {
  if (m_inner) m_inner->DiscardInput();
}

}  // namespace wattrix
