#pragma once

#include "ui/settings/CModePage.h"

class QComboBox;
class QRadioButton;

namespace wattrix {

class CRangeTabs;

// The page of the average, peak and VSWR/PAR measurements: frequency,
// offset, absolute/relative display, decimals, sweep, technology, averaging
// and one range sub-tab per quantity of the model.
class CSettingDlg_Avg final : public CModePage {
  Q_OBJECT

 public:
  CSettingDlg_Avg(MeasurementSettings& settings, QWidget* parent);

  bool Validate() override;
  void Apply() override;
  void SetInitialSubTab(int subTab) override;
  // Hides the Average label and list.
  void HideAverage();

  CRangeTabs* RangeTabs() const { return m_rangeTabs; }

 private:
  QRadioButton* m_absolute = nullptr;
  QRadioButton* m_relative = nullptr;
  QComboBox* m_repeatList = nullptr;
  // Kept for the AVG RATE it carries; the page does not show it.
  QComboBox* m_rateList = nullptr;
  CRangeTabs* m_rangeTabs = nullptr;

  bool m_relativeValue;
  int m_repeatIndex;
  int m_rateIndex;
};

}  // namespace wattrix
