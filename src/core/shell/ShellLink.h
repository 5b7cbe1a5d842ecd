#pragma once

namespace wattrix {

// The part of the sensor link the shell's connect and disconnect flows use:
// the link's own public calls, so that the shell can be driven by a
// stand-in.
class ShellLink {
 public:
  virtual ~ShellLink() = default;

  // 0 on success; the sensor on `port` (0 for USB) is identified.
  virtual int Connect(int port) = 0;
  virtual void Disconnect() = 0;
  virtual bool IsConnected() const = 0;
  // The sensor stopped answering since the last Connect.
  virtual bool LineLost() const = 0;
  virtual int DeviceCode() const = 0;
  virtual int SerialNumber() const = 0;
  virtual int FirmwareVersion() const = 0;
};

}  // namespace wattrix
