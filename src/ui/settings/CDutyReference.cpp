#include "ui/settings/CDutyReference.h"

#include "core/measure/MeasurementSettings.h"
#include "core/settings/SettingsPageRules.h"
#include "ui/settings/SettingsFields.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace wattrix {

using namespace settings_fields;

namespace {

QRadioButton* Radio(const QString& text, const char* objectName, QWidget* parent) {
  auto* radio = new QRadioButton(text, parent);
  radio->setObjectName(QString::fromLatin1(objectName));
  return radio;
}

}  // namespace

CDutyReference::CDutyReference(std::string_view section, const MeasurementSettings& settings, QWidget* parent)
    : QWidget(parent),
      m_manualDuty(settings_page::IsManual(settings.PulseDuty())),
      m_manualReference(settings_page::IsManual(settings.PulseReference())),
      m_dutyValue(settings.PulseDuty() / 1000.0),
      m_referenceValue(settings.PulseReference() / 100.0) {
  auto text = [section](std::string_view key) { return DialogText(section, key); };

  auto* duty = new QGroupBox(GroupTitle(section, "IDC_STATIC_DUTY"), this);
  m_dutyAuto = Radio(text("IDC_DUTY_AUTO"), "dutyAutoRadio", duty);
  m_dutyManual = Radio(text("IDC_DUTY_MANUAL"), "dutyManualRadio", duty);
  m_dutyEdit = MakeNumberEdit(duty, "dutyEdit", 7);
  if (m_manualDuty)
    m_dutyEdit->setText(QString::fromStdString(settings_page::DutyEditText(settings.PulseDuty())));
  auto* dutyLayout = new QGridLayout(duty);
  dutyLayout->addWidget(m_dutyAuto, 0, 0, 1, 2);
  dutyLayout->addWidget(m_dutyManual, 1, 0);
  dutyLayout->addWidget(m_dutyEdit, 1, 1, Qt::AlignLeft);
  dutyLayout->setColumnStretch(2, 1);

  auto* reference = new QGroupBox(GroupTitle(section, "IDC_STATIC_REFERENCE"), this);
  m_referenceAuto = Radio(text("IDC_REFERENCE_AUTO_PEAK"), "referenceAutoRadio", reference);
  m_referenceManual = Radio(text("IDC_DUTY_MANUAL2"), "referenceManualRadio", reference);
  m_referenceEdit = MakeNumberEdit(reference, "referenceEdit", 7);
  if (m_manualReference) {
    m_referenceEdit->setText(
        QString::fromStdString(settings_page::ReferenceEditText(settings.PulseReference())));
  }
  auto* referenceLayout = new QGridLayout(reference);
  referenceLayout->addWidget(m_referenceAuto, 0, 0, 1, 2);
  referenceLayout->addWidget(m_referenceManual, 1, 0);
  referenceLayout->addLayout(WithUnit(m_referenceEdit, text("IDC_STATIC_DB")), 1, 1);
  referenceLayout->setColumnStretch(2, 1);

  // The four radios share no parent, but each pair must stay exclusive.
  for (auto [first, second] :
       {std::pair{m_dutyAuto, m_dutyManual}, std::pair{m_referenceAuto, m_referenceManual}}) {
    auto* group = new QButtonGroup(this);
    group->addButton(first);
    group->addButton(second);
    connect(group, &QButtonGroup::buttonClicked, this, &CDutyReference::RunInterlock);
  }
  (m_manualDuty ? m_dutyManual : m_dutyAuto)->setChecked(true);
  (m_manualReference ? m_referenceManual : m_referenceAuto)->setChecked(true);
  RunInterlock();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(duty);
  layout->addWidget(reference);
}

void CDutyReference::RunInterlock() {
  const auto state = settings_page::Interlock(m_dutyManual->isChecked(), m_referenceManual->isChecked());
  (state.referenceManual ? m_referenceManual : m_referenceAuto)->setChecked(true);
  m_dutyEdit->setEnabled(state.dutyEditEnabled);
  m_referenceAuto->setEnabled(state.referenceRadiosEnabled);
  m_referenceManual->setEnabled(state.referenceRadiosEnabled);
  m_referenceEdit->setEnabled(state.referenceEditEnabled);
}

bool CDutyReference::ReadControls() {
  const bool manualDuty = m_dutyManual->isChecked();
  const bool manualReference = m_referenceManual->isChecked();
  double duty = 0;
  double reference = 0;
  // Only a manual choice uses its edit; a locked edit never blocks OK.
  if (manualDuty && !ReadNumber(*m_dutyEdit, duty)) return false;
  if (manualReference && !ReadNumber(*m_referenceEdit, reference)) return false;
  m_manualDuty = manualDuty;
  m_manualReference = manualReference;
  m_dutyValue = duty;
  m_referenceValue = reference;
  return true;
}

void CDutyReference::Apply(MeasurementSettings& settings) const {
  settings.SetPulseDuty(settings_page::DutyFromEdit(m_manualDuty, m_dutyValue));
  settings.SetPulseReference(settings_page::ReferenceFromEdit(m_manualReference, m_referenceValue));
}

}  // namespace wattrix
