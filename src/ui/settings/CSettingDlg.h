#pragma once

#include <QDialog>

#include <array>

class QDialogButtonBox;
class QTabWidget;

namespace wattrix {

class CSettingDlg_Avg;
class CSettingDlg_Ccdf;
class CSettingDlg_Logging;
class CSettingDlg_Pulse;
class CSettingPage;
class LoggingActions;
class MeasurementSettings;

// The modal settings dialog: one tab per page the connected model allows,
// all four pages created. OK validates every page the model shows, then
// writes the page of the current tab into the settings record; Cancel
// writes nothing (the logging page's Set button has acted by then).
class CSettingDlg final : public QDialog {
  Q_OBJECT

 public:
  // `logging` serves the logging page's Set and Clear (null: no sensor).
  CSettingDlg(MeasurementSettings& settings, LoggingActions* logging, QWidget* parent = nullptr);

  // Tab to open on: 0 measurement window, 1 CCDF window, 2 pulse window.
  // A tab the model lacks opens the average page.
  void SetInitialTab(int tab);
  // Range sub-tab the pages open on.
  void SetInitialSubTab(int subTab);

  // The tab index OK applies by (the initial one until the user changes it).
  int CurrentTab() const { return m_currentTab; }
  QTabWidget* Tabs() const { return m_tabs; }
  CSettingDlg_Avg* AvgPage() const { return m_avg; }
  CSettingDlg_Ccdf* CcdfPage() const { return m_ccdf; }
  CSettingDlg_Pulse* PulsePage() const { return m_pulse; }
  CSettingDlg_Logging* LoggingPage() const { return m_logging; }

  void accept() override;

 private:
  void OnTabChanged(int index);
  CSettingPage* PageAppliedOnTab(int tab) const;

  MeasurementSettings& m_settings;
  QTabWidget* m_tabs = nullptr;
  QDialogButtonBox* m_buttons = nullptr;
  CSettingDlg_Avg* m_avg = nullptr;
  CSettingDlg_Ccdf* m_ccdf = nullptr;
  CSettingDlg_Pulse* m_pulse = nullptr;
  CSettingDlg_Logging* m_logging = nullptr;
  int m_currentTab = 0;
};

}  // namespace wattrix
