#pragma once

#include "ui/settings/CModePage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace wattrix {

// The CCDF page: frequency, offset, decimals, sweep, technology, number of
// samples, and the crest-factor limit with its limit check and alarm.
class CSettingDlg_Ccdf final : public CModePage {
  Q_OBJECT

 public:
  CSettingDlg_Ccdf(MeasurementSettings& settings, QWidget* parent);

  bool Validate() override;
  void Apply() override;

  QLineEdit* CrestEdit() const { return m_crestEdit; }

 private:
  QComboBox* m_samplesList = nullptr;
  QCheckBox* m_limitCheck = nullptr;
  QCheckBox* m_alarm = nullptr;
  QLineEdit* m_crestEdit = nullptr;
  int m_samplesIndex;
};

}  // namespace wattrix
