#pragma once

#include "core/device/PowerDevice.h"

#include <functional>
#include <memory>

namespace wattrix {

// Makes the transport for a port number: port 1 or more is a COM port,
// 0 or less the USB sensor. May return null.
using TransportFactory = std::function<std::unique_ptr<CPowerDevice>(int port)>;

// CSerialDevice for a COM port, CUsbDevice for USB.
TransportFactory DefaultTransportFactory();

}  // namespace wattrix
