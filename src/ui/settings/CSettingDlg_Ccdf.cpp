#include "ui/settings/CSettingDlg_Ccdf.h"

#include "core/measure/MeasurementSettings.h"
#include "core/vocabulary/Quantity.h"
#include "core/settings/SettingsPageRules.h"
#include "ui/settings/CDeviceGroup.h"
#include "ui/settings/SettingsFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace wattrix {

using namespace settings_fields;

namespace {
constexpr const char* kSection = "IDD_SETTING_CCDF";
}  // namespace

CSettingDlg_Ccdf::CSettingDlg_Ccdf(MeasurementSettings& settings, QWidget* parent)
    : CModePage(kSection, settings, parent),
      m_samplesIndex(settings_page::CcdfRateListIndex(settings.CcdfRate())) {
  setObjectName(QStringLiteral("ccdfPage"));
  auto* device = new CDeviceGroup(kSection, settings, this);
  auto* measure = MakeMeasurementGroup();
  AddDecimalAndSweepRows();
  AddTechnologyRow({"LTE", "WCDMA", "CDMA", "WiMAX", "TDS-CDMA", "EV-DO", "GSM", "etc"},
                   settings_page::TechnologyListIndex(settings.Technology()));
  m_samplesList = AddListRow("IDC_STATIC_RATE", "samplesList", {"100,000", "200,000", "500,000", "1,000,000"},
                             m_samplesIndex);

  auto* alarm = new QGroupBox(Text("IDC_STATIC_ALARM"), this);
  alarm->setObjectName(QStringLiteral("alarmGroup"));
  m_limitCheck = new QCheckBox(Text("IDC_CCDF_LIMIT"), alarm);
  m_limitCheck->setObjectName(QStringLiteral("limitCheck"));
  m_limitCheck->setChecked(settings.LimitCheck(kCcdf));
  m_alarm = new QCheckBox(Text("IDC_CCDF_ALARM"), alarm);
  m_alarm->setObjectName(QStringLiteral("alarmCheck"));
  m_alarm->setChecked(settings.BeepAlarm(kCcdf));
  m_crestEdit = MakeNumberEdit(alarm, "crestEdit", 8);
  m_crestEdit->setText(FloatText(settings.HighLimit(kCcdf)));
  auto* alarmForm = new QFormLayout(alarm);
  alarmForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  alarmForm->addRow(m_limitCheck);
  alarmForm->addRow(m_alarm);
  alarmForm->addRow(Text("IDC_STATIC_CREAST"), m_crestEdit);

  LayOutColumns({device, measure}, {alarm});
}

bool CSettingDlg_Ccdf::Validate() {
  if (!ReadFrequencyAndOffset()) return false;
  float crest = 0;
  if (!ReadFloat(*m_crestEdit, crest)) return false;
  auto& settings = Settings();
  m_samplesIndex = m_samplesList->currentIndex();
  settings.SetCcdfRate(m_samplesIndex);
  // One crest-factor limit: both ends of the CCDF limits carry it.
  settings.SetLimits(kCcdf, crest, crest);
  settings.SetLimitCheck(kCcdf, m_limitCheck->isChecked());
  settings.SetBeepAlarm(kCcdf, m_alarm->isChecked());
  ReadCommonChoices();
  return true;
}

void CSettingDlg_Ccdf::Apply() {
  auto& settings = Settings();
  ApplyFrequencyAndOffset();
  ApplySweepAndDecimals();
  settings.SetCcdfRate(m_samplesIndex);
  settings.SetTechnology(settings_page::TechnologyFromListIndex(TechnologyIndex()));
}

}  // namespace wattrix
