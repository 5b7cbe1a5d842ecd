#include "core/shell/SensorLinkShell.h"

#include "core/device/SensorLink.h"

namespace wattrix {

int SensorLinkShell::Connect(int port) { return m_link.Connect(port); }

void SensorLinkShell::Disconnect() { m_link.Disconnect(); }

bool SensorLinkShell::IsConnected() const { return m_link.IsConnected(); }

bool SensorLinkShell::LineLost() const { return m_link.LineLost(); }

int SensorLinkShell::DeviceCode() const { return m_link.DeviceCode(); }

int SensorLinkShell::SerialNumber() const { return m_link.SerialNumber(); }

int SensorLinkShell::FirmwareVersion() const { return m_link.FirmwareVersion(); }

}  // namespace wattrix
