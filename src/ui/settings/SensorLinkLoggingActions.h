#pragma once

#include "ui/settings/LoggingActions.h"

class QWidget;

namespace wattrix {

class MeasurementSettings;
class SensorLink;

// The logging page's actions on the real sensor link.
class SensorLinkLoggingActions final : public LoggingActions {
 public:
  // The set-up sends the external offset and TECH of `settings`.
  SensorLinkLoggingActions(SensorLink& link, const MeasurementSettings& settings)
      : m_link(link), m_settings(settings) {}

  bool IsConnected() const override;
  bool ConfigureLogging(const logging_setup::LoggingConfiguration& configuration) override;
  bool SetLoggingRun(int value) override;

 private:
  SensorLink& m_link;
  const MeasurementSettings& m_settings;
};

// Opens the settings dialog over `owner` for one Setting command, on `tab`
// with range sub-tab `subTab`, the logging page served by `link`; true
// when it was closed with OK (the caller then has the open mode window
// take the new settings).
bool RunSettingDialog(QWidget* owner, SensorLink& link, MeasurementSettings& settings, int tab, int subTab);

}  // namespace wattrix
