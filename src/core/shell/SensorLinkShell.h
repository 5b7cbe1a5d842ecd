#pragma once

#include "core/shell/ShellLink.h"

namespace wattrix {

class SensorLink;

// The shell's view of the process's sensor link.
class SensorLinkShell final : public ShellLink {
 public:
  explicit SensorLinkShell(SensorLink& link) : m_link(link) {}

  int Connect(int port) override;
  void Disconnect() override;
  bool IsConnected() const override;
  bool LineLost() const override;
  int DeviceCode() const override;
  int SerialNumber() const override;
  int FirmwareVersion() const override;

 private:
  SensorLink& m_link;
};

}  // namespace wattrix
