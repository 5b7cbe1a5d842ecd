#include "cli/ConnectedSensor.h"

#include "cli/CliCommand.h"
#include "cli/Options.h"

#include "core/device/SensorLink.h"
#include "core/settings/SettingsPageRules.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/SensorModel.h"

#include <climits>

namespace wattrix::cli {

std::optional<int> RequiredPort(Options& options, const std::string& command, int& exitCode) {
  exitCode = kExitUsage;
  const auto port = options.Int("port");
  if (!options.ValidNumbers()) {
    Fail(kExitUsage, options.Error());
    return std::nullopt;
  }
  if (!port) {
    Fail(kExitUsage, command + " needs --port N");
    return std::nullopt;
  }
  if (*port < INT_MIN || *port > INT_MAX) {
    // A number, but out of range: a validation failure.
    exitCode = Fail(kExitFailed, "port number out of range");
    return std::nullopt;
  }
  return static_cast<int>(*port);
}

ConnectedSensor::ConnectedSensor() : m_link(SensorLink::Instance()) {
  // Scripts must not change what the desktop application finds next time.
  m_settings.SetSaveOnDestroy(false);
}

ConnectedSensor::~ConnectedSensor() { m_link.Disconnect(); }

bool ConnectedSensor::Connect(int port) {
  m_port = port;
  const int code = m_link.Connect(port);
  if (code != 0) {
    Fail(kExitFailed, "connect failed (" + std::to_string(code) + ")");
    return false;
  }
  const SensorModel* row = FindModelByDeviceCode(m_link.DeviceCode());
  m_settings.SetDevice(row ? row->modelCode : -1, m_link.SerialNumber(), m_link.FirmwareVersion());
  return true;
}

bool ConnectedSensor::ApplyFrequencyAndOffset(std::optional<double> frequency, std::optional<double> offset) {
  const float mhz = frequency ? static_cast<float>(*frequency) : m_settings.Frequency();
  const float db = offset ? static_cast<float>(*offset) : m_settings.ExternalOffset();
  const auto failure = settings_page::Validate(m_settings.ModelCode(), mhz, db, {});
  if ((frequency || offset) && failure) {
    Fail(kExitFailed, strings::GetString(failure->key));
    return false;
  }
  m_settings.SetFrequency(mhz);
  m_settings.SetExternalOffset(db);
  return true;
}

}  // namespace wattrix::cli
