#pragma once

#include "ui/settings/CSettingPage.h"

#include <initializer_list>

class QComboBox;
class QLabel;
class QRadioButton;

namespace wattrix {

// What the three mode pages (average/peak, pulse, CCDF) share besides
// frequency and offset: the decimals list, the sweep radios and the
// technology list.
class CModePage : public CSettingPage {
  Q_OBJECT

 public:
  CModePage(std::string_view section, MeasurementSettings& settings, QWidget* parent);

  // Hides the technology label and list (models that have no use for it).
  void HideTechnology();
  QComboBox* TechnologyList() const { return m_technologyList; }

 protected:
  void AddDecimalAndSweepRows();
  void AddTechnologyRow(std::initializer_list<const char*> items, int index);

  // List and radio choices into the copies.
  void ReadCommonChoices();
  // SWEEP and DECIMAL from the copies.
  void ApplySweepAndDecimals() const;
  int TechnologyIndex() const { return m_technologyIndex; }

 private:
  QComboBox* m_decimalList = nullptr;
  QRadioButton* m_continuous = nullptr;
  QRadioButton* m_single = nullptr;
  QComboBox* m_technologyList = nullptr;
  int m_decimals = 2;
  bool m_singleSweep = false;
  int m_technologyIndex = 0;
};

}  // namespace wattrix
