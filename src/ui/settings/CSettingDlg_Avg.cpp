#include "ui/settings/CSettingDlg_Avg.h"

#include "core/measure/MeasurementSettings.h"
#include "core/settings/SettingsPageRules.h"
#include "ui/settings/CDeviceGroup.h"
#include "ui/settings/CRangeTabs.h"
#include "ui/settings/SettingsFields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>

namespace wattrix {

namespace {
constexpr const char* kSection = "IDD_SETTING_AVG";
}  // namespace

CSettingDlg_Avg::CSettingDlg_Avg(MeasurementSettings& settings, QWidget* parent)
    : CModePage(kSection, settings, parent),
      m_relativeValue(settings.Relative()),
      m_repeatIndex(settings_page::RepeatListIndex(settings.AvgRepeat())),
      m_rateIndex(settings_page::RateListIndex(settings.AvgRate())) {
  setObjectName(QStringLiteral("avgPage"));
  auto* device = new CDeviceGroup(kSection, settings, this);
  auto* measure = MakeMeasurementGroup();

  m_absolute = MakeRadio("IDC_ABSOLUTE", "absoluteRadio");
  m_relative = MakeRadio("IDC_RELATIVE", "relativeRadio");
  (m_relativeValue ? m_relative : m_absolute)->setChecked(true);
  AddRadioRow(*MeasureForm(), "IDC_STATIC_MODE", m_absolute, m_relative);
  AddDecimalAndSweepRows();
  AddTechnologyRow({"LTE", "WCDMA", "CDMA", "WiMAX", "TDS-CDMA", "EV-DO", "GSM", "etc"},
                   settings_page::TechnologyListIndex(settings.Technology()));
  m_repeatList = AddListRow("IDC_STATIC_REPEAT", "repeatList",
                            {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}, m_repeatIndex);

  m_rateList = new QComboBox(this);
  m_rateList->setObjectName(QStringLiteral("rateList"));
  settings_fields::FillList(*m_rateList, {"Low", "Middle", "High", "Max"});
  m_rateList->setCurrentIndex(m_rateIndex);
  m_rateList->hide();

  m_rangeTabs = new CRangeTabs(settings, settings_page::AverageRangeTabs(ModelCode()), this);

  LayOutColumns({device, measure}, {m_rangeTabs});
}

void CSettingDlg_Avg::HideAverage() { MeasureForm()->setRowVisible(m_repeatList, false); }

void CSettingDlg_Avg::SetInitialSubTab(int subTab) {
  if (subTab >= 0 && subTab < m_rangeTabs->count()) m_rangeTabs->setCurrentIndex(subTab);
}

bool CSettingDlg_Avg::Validate() {
  if (!ReadFrequencyAndOffset()) return false;
  std::vector<settings_page::RangeValues> ranges;
  if (!m_rangeTabs->ReadAll(ranges)) return false;
  if (const auto failure = settings_page::Validate(ModelCode(), FrequencyCopy(), OffsetCopy(), ranges)) {
    m_rangeTabs->Refuse(*failure);
    return false;
  }
  m_rangeTabs->StoreAll(Settings());
  ReadCommonChoices();
  m_relativeValue = m_relative->isChecked();
  m_repeatIndex = m_repeatList->currentIndex();
  m_rateIndex = m_rateList->currentIndex();
  return true;
}

void CSettingDlg_Avg::Apply() {
  auto& settings = Settings();
  ApplyFrequencyAndOffset();
  settings.SetRelative(m_relativeValue);
  ApplySweepAndDecimals();
  settings.SetAvgRate(m_rateIndex);
  settings.SetTechnology(settings_page::TechnologyFromListIndex(TechnologyIndex()));
  settings.SetAvgRepeat(settings_page::RepeatFromListIndex(m_repeatIndex));
}

}  // namespace wattrix
