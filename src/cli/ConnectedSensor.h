#pragma once

#include "core/measure/MeasurementSettings.h"

#include <optional>
#include <string>

namespace wattrix {
class SensorLink;
}

namespace wattrix::cli {

class Options;

// The value of --port, which every sensor command needs: nullopt after
// printing the error when it is missing, not a whole number (`exitCode`
// kExitUsage) or out of range (kExitFailed).
std::optional<int> RequiredPort(Options& options, const std::string& command, int& exitCode);

// The process's sensor link connected for one command, with a settings
// record loaded from the model's settings file as the desktop application
// loads it on connect. The record is never written back. Disconnects when
// it goes.
class ConnectedSensor final {
 public:
  ConnectedSensor();
  ~ConnectedSensor();
  ConnectedSensor(const ConnectedSensor&) = delete;
  ConnectedSensor& operator=(const ConnectedSensor&) = delete;

  // Connects and identifies; on failure prints "connect failed (<code>)"
  // and returns false.
  bool Connect(int port);

  SensorLink& Link() { return m_link; }
  MeasurementSettings& Settings() { return m_settings; }
  int ModelCode() const { return m_settings.ModelCode(); }

  // --freq (MHz) and --offset (dB) over the record's values, checked as the
  // settings page checks them when either is given (what the settings file
  // holds alone is used unchecked, as the desktop application uses it);
  // false after printing the page's message.
  bool ApplyFrequencyAndOffset(std::optional<double> frequency, std::optional<double> offset);
  // COM ports are serial links; 0 and below is the USB sensor.
  bool SerialLink() const { return m_port >= 1; }

 private:
  SensorLink& m_link;
  MeasurementSettings m_settings;
  int m_port = 0;
};

}  // namespace wattrix::cli
