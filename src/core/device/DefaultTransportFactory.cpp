#include "core/device/SerialDevice.h"
#include "core/device/TransportFactory.h"
#include "core/device/UsbDevice.h"

namespace wattrix {

TransportFactory DefaultTransportFactory() {
  return [](int port) -> std::unique_ptr<CPowerDevice> {
    if (port >= 1) return std::make_unique<CSerialDevice>();
    return std::make_unique<CUsbDevice>();
  };
}

}  // namespace wattrix
