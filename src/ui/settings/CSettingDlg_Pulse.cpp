#include "ui/settings/CSettingDlg_Pulse.h"

#include "core/measure/MeasurementSettings.h"
#include "core/settings/SettingsPageRules.h"
#include "ui/settings/CDeviceGroup.h"
#include "ui/settings/CDutyReference.h"
#include "ui/settings/CRangeTabs.h"

#include <QComboBox>
#include <QGroupBox>

namespace wattrix {

namespace {
constexpr const char* kSection = "IDD_SETTING_PULSE";
}  // namespace

CSettingDlg_Pulse::CSettingDlg_Pulse(MeasurementSettings& settings, QWidget* parent)
    : CModePage(kSection, settings, parent),
      m_periodIndex(settings_page::PeriodListIndex(settings.PulseRate())) {
  setObjectName(QStringLiteral("pulsePage"));
  auto* device = new CDeviceGroup(kSection, settings, this);
  auto* measure = MakeMeasurementGroup();
  AddDecimalAndSweepRows();
  AddTechnologyRow({"LTE", "WiMAX", "TDS-CDMA", "etc"},
                   settings_page::PulseTechnologyListIndex(settings.Technology()));
  m_periodList = AddListRow("IDC_STATIC_PERIOD", "periodList",
                            {"< 4.5ms", "< 9.5ms", "< 19ms", "< 38ms", "< 76ms"}, m_periodIndex);

  m_dutyReference = new CDutyReference(kSection, settings, this);
  m_rangeTabs = new CRangeTabs(settings, settings_page::PulseRangeTabs(), this);

  LayOutColumns({device, measure}, {m_dutyReference, m_rangeTabs});
}

void CSettingDlg_Pulse::SetInitialSubTab(int subTab) {
  if (subTab >= 0 && subTab < m_rangeTabs->count()) m_rangeTabs->setCurrentIndex(subTab);
}

bool CSettingDlg_Pulse::Validate() {
  if (!ReadFrequencyAndOffset()) return false;
  std::vector<settings_page::RangeValues> ranges;
  if (!m_rangeTabs->ReadAll(ranges)) return false;
  if (const auto failure = settings_page::Validate(ModelCode(), FrequencyCopy(), OffsetCopy(), ranges)) {
    m_rangeTabs->Refuse(*failure);
    return false;
  }
  if (!m_dutyReference->ReadControls()) return false;
  m_rangeTabs->StoreAll(Settings());
  ReadCommonChoices();
  m_periodIndex = m_periodList->currentIndex();
  return true;
}

void CSettingDlg_Pulse::Apply() {
  auto& settings = Settings();
  ApplyFrequencyAndOffset();
  ApplySweepAndDecimals();
  settings.SetPulseRate(m_periodIndex);
  m_dutyReference->Apply(settings);
  settings.SetTechnology(settings_page::PulseTechnologyFromListIndex(TechnologyIndex()));
}

}  // namespace wattrix
