#pragma once

#include "ui/settings/CModePage.h"

class QComboBox;

namespace wattrix {

class CDutyReference;
class CRangeTabs;

// The pulse-power page: frequency, offset, decimals, sweep, technology,
// averaging period, duty cycle and pulse reference, and the PULSE range.
class CSettingDlg_Pulse final : public CModePage {
  Q_OBJECT

 public:
  CSettingDlg_Pulse(MeasurementSettings& settings, QWidget* parent);

  bool Validate() override;
  void Apply() override;
  void SetInitialSubTab(int subTab) override;

  CDutyReference* DutyReference() const { return m_dutyReference; }
  CRangeTabs* RangeTabs() const { return m_rangeTabs; }

 private:
  QComboBox* m_periodList = nullptr;
  CDutyReference* m_dutyReference = nullptr;
  CRangeTabs* m_rangeTabs = nullptr;
  int m_periodIndex;
};

}  // namespace wattrix
