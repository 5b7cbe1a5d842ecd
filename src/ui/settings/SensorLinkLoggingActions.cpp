#include "ui/settings/SensorLinkLoggingActions.h"

#include "core/device/SensorLink.h"
#include "core/settings/SensorLogging.h"
#include "ui/settings/CSettingDlg.h"

namespace wattrix {

bool SensorLinkLoggingActions::IsConnected() const { return m_link.IsConnected(); }

bool SensorLinkLoggingActions::ConfigureLogging(const logging_setup::LoggingConfiguration& c) {
  return logging_setup::ConfigureLogging(m_link, c, m_settings);
}

bool SensorLinkLoggingActions::SetLoggingRun(int value) { return m_link.SetLoggingRun(value); }

bool RunSettingDialog(QWidget* owner, SensorLink& link, MeasurementSettings& settings, int tab, int subTab) {
  SensorLinkLoggingActions logging(link, settings);
  CSettingDlg dialog(settings, &logging, owner);
  dialog.SetInitialTab(tab);
  dialog.SetInitialSubTab(subTab);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace wattrix
