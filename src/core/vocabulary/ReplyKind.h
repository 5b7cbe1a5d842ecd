#pragma once

namespace wattrix {

// Kind of a parsed reply; None is also the status of every failed exchange.
enum class ReplyKind : int {
  None = 0,
  Measurement = 1,  // "P" or "W"
  SerialNumber = 2,
  FirmwareVersion = 3,
  DeviceCode = 4,
  Acknowledge = 5,
};

}  // namespace wattrix
