#include "ui/settings/SensorLinkLoggingActions.h"

#include "core/device/SensorLink.h"
#include "ui/settings/CSettingDlg.h"

namespace wattrix {

bool SensorLinkLoggingActions::IsConnected() const { return m_link.IsConnected(); }

bool SensorLinkLoggingActions::ConfigureLogging(const logging_setup::LoggingConfiguration& c) {
  // The two unused arguments of the set-up are passed as 0.
  return m_link.ConfigureLogging(c.frequency, c.itemMask, c.intervalSeconds, c.sampleCount, 0, 0,
                                 c.averagingIndex, c.reference);
}

bool SensorLinkLoggingActions::SetLoggingRun(int value) { return m_link.SetLoggingRun(value); }

bool RunSettingDialog(QWidget* owner, MeasurementSettings& settings, int tab, int subTab) {
  SensorLinkLoggingActions logging(SensorLink::Instance());
  CSettingDlg dialog(settings, &logging, owner);
  dialog.SetInitialTab(tab);
  dialog.SetInitialSubTab(subTab);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace wattrix
