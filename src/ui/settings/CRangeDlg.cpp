#include "ui/settings/CRangeDlg.h"

#include "core/vocabulary/SensorModel.h"
#include "core/measure/MeasurementSettings.h"
#include "core/vocabulary/Quantity.h"
#include "ui/settings/SettingsFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>

namespace wattrix {

using namespace settings_fields;

namespace {

constexpr const char* kSection = "IDD_RANGE";

QString Text(const char* key) { return DialogText(kSection, key); }

// The unit beside the edits: dBm for powers, dB for PAR, none for VSWR.
QString UnitOf(int modelCode, Quantity quantity) {
  if (IsPowerQuantity(quantity)) return QStringLiteral("dBm");
  if (quantity == kVswr && CarriesPar(modelCode)) return QStringLiteral("dB");
  return QString();
}

}  // namespace

CRangeDlg::CRangeDlg(const MeasurementSettings& settings, Quantity quantity, QWidget* parent)
    : QWidget(parent),
      m_quantity(quantity),
      m_displayLowValue(settings.DisplayLow(quantity)),
      m_displayHighValue(settings.DisplayHigh(quantity)),
      m_limitCheckValue(settings.LimitCheck(quantity)),
      m_alarmValue(settings.BeepAlarm(quantity)),
      m_limitLowValue(settings.LowLimit(quantity)),
      m_limitHighValue(settings.HighLimit(quantity)),
      m_beepKind(settings_page::ListIndexOrDefault(settings.BeepKind(quantity), 4, 0)) {
  setObjectName(QStringLiteral("range_%1").arg(QString::fromLatin1(QuantitySection(quantity))));
  const QString unit = UnitOf(settings.ModelCode(), quantity);
  auto withUnit = [&unit](QLineEdit* edit) { return WithUnit(edit, unit); };

  auto* display = new QGroupBox(Text("IDC_STATIC_DISPLAY"), this);
  auto* displayForm = new QFormLayout(display);
  displayForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  m_displayLow = MakeNumberEdit(display, "displayLowEdit", 8);
  m_displayHigh = MakeNumberEdit(display, "displayHighEdit", 8);
  m_displayLow->setText(FloatText(m_displayLowValue));
  m_displayHigh->setText(FloatText(m_displayHighValue));
  displayForm->addRow(Text("IDC_STATIC_DMIN"), withUnit(m_displayLow));
  displayForm->addRow(Text("IDC_STATIC_DMAX"), withUnit(m_displayHigh));

  auto* limits = new QGroupBox(Text("IDC_STATIC_LIMIT"), this);
  auto* limitForm = new QFormLayout(limits);
  limitForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  m_limitCheck = new QCheckBox(Text("IDC_ENABLE"), limits);
  m_limitCheck->setObjectName(QStringLiteral("limitCheck"));
  m_limitCheck->setChecked(m_limitCheckValue);
  m_alarm = new QCheckBox(Text("IDC_ALARM"), limits);
  m_alarm->setObjectName(QStringLiteral("alarmCheck"));
  m_alarm->setChecked(m_alarmValue);
  auto* checks = new QHBoxLayout;
  checks->addWidget(m_limitCheck);
  checks->addWidget(m_alarm);
  checks->addStretch(1);
  limitForm->addRow(checks);
  m_limitLow = MakeNumberEdit(limits, "limitLowEdit", 8);
  m_limitHigh = MakeNumberEdit(limits, "limitHighEdit", 8);
  m_limitLow->setText(FloatText(m_limitLowValue));
  m_limitHigh->setText(FloatText(m_limitHighValue));
  limitForm->addRow(Text("IDC_STATIC_LMIN"), withUnit(m_limitLow));
  limitForm->addRow(Text("IDC_STATIC_LMAX"), withUnit(m_limitHigh));
  m_beepList = new QComboBox(limits);
  m_beepList->setObjectName(QStringLiteral("beepList"));
  FillList(*m_beepList, {"Beep 1", "Beep 2", "Beep 3", "Beep 4"});
  m_beepList->setCurrentIndex(m_beepKind);
  limitForm->addRow(Text("IDC_STATIC_BEEP"), m_beepList);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(display, 0, Qt::AlignTop);
  layout->addWidget(limits, 1, Qt::AlignTop);
}

QLineEdit* CRangeDlg::ReadControls() {
  float displayLow = 0;
  float displayHigh = 0;
  float limitLow = 0;
  float limitHigh = 0;
  if (!ParseFloat(*m_displayLow, displayLow)) return m_displayLow;
  if (!ParseFloat(*m_displayHigh, displayHigh)) return m_displayHigh;
  if (!ParseFloat(*m_limitLow, limitLow)) return m_limitLow;
  if (!ParseFloat(*m_limitHigh, limitHigh)) return m_limitHigh;
  m_displayLowValue = displayLow;
  m_displayHighValue = displayHigh;
  m_limitLowValue = limitLow;
  m_limitHighValue = limitHigh;
  m_limitCheckValue = m_limitCheck->isChecked();
  m_alarmValue = m_alarm->isChecked();
  m_beepKind = m_beepList->currentIndex();
  return nullptr;
}

settings_page::RangeValues CRangeDlg::Values() const {
  return {m_displayLowValue, m_displayHighValue, m_limitLowValue, m_limitHighValue};
}

void CRangeDlg::Store(MeasurementSettings& settings) const {
  settings.SetDisplayRange(m_quantity, m_displayLowValue, m_displayHighValue);
  settings.SetLimits(m_quantity, m_limitLowValue, m_limitHighValue);
  settings.SetLimitCheck(m_quantity, m_limitCheckValue);
  settings.SetBeepAlarm(m_quantity, m_alarmValue);
  settings.SetBeepKind(m_quantity, m_beepKind);
}

}  // namespace wattrix
