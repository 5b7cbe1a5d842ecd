#include "ui/settings/CModePage.h"

#include "core/measure/MeasurementSettings.h"
#include "core/settings/SettingsPageRules.h"
#include "ui/settings/SettingsFields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QRadioButton>

namespace wattrix {

CModePage::CModePage(std::string_view section, MeasurementSettings& settings, QWidget* parent)
    : CSettingPage(section, settings, parent),
      m_decimals(settings_page::DecimalListIndex(settings.Decimals())),
      m_singleSweep(settings.SingleSweep()) {}

void CModePage::HideTechnology() {
  if (m_technologyList) MeasureForm()->setRowVisible(m_technologyList, false);
}

void CModePage::AddDecimalAndSweepRows() {
  m_decimalList = AddListRow("IDC_STATIC_DECIMAL", "decimalList", {"0", "1", "2"}, m_decimals);
  m_continuous = MakeRadio("IDC_CONTINUOUS", "continuousRadio");
  m_single = MakeRadio("IDC_Single", "singleRadio");
  (m_singleSweep ? m_single : m_continuous)->setChecked(true);
  AddRadioRow(*MeasureForm(), "IDC_STATIC_SWEEP", m_continuous, m_single);
}

void CModePage::AddTechnologyRow(std::initializer_list<const char*> items, int index) {
  m_technologyIndex = index;
  m_technologyList = AddListRow("IDC_STATIC_TECH", "technologyList", items, index);
}

void CModePage::ReadCommonChoices() {
  m_decimals = m_decimalList->currentIndex();
  m_singleSweep = m_single->isChecked();
  if (m_technologyList) m_technologyIndex = m_technologyList->currentIndex();
}

void CModePage::ApplySweepAndDecimals() const {
  Settings().SetSingleSweep(m_singleSweep);
  Settings().SetDecimals(m_decimals);
}

}  // namespace wattrix
