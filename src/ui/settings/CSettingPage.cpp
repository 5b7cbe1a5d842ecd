#include "ui/settings/CSettingPage.h"

#include "core/measure/MeasurementSettings.h"
#include "core/settings/SettingsPageRules.h"
#include "ui/settings/SettingsFields.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace wattrix {

using namespace settings_fields;

CSettingPage::CSettingPage(std::string_view section, MeasurementSettings& settings, QWidget* parent)
    : QWidget(parent),
      m_section(section),
      m_settings(settings),
      m_frequency(settings.Frequency()),
      m_offset(settings.ExternalOffset()) {}

void CSettingPage::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->accept();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

QString CSettingPage::Text(std::string_view key) const { return DialogText(m_section, key); }

int CSettingPage::ModelCode() const { return m_settings.ModelCode(); }

QGroupBox* CSettingPage::MakeMeasurementGroup() {
  m_measureGroup = new QGroupBox(Text("IDC_STATIC_MEASURE"), this);
  m_measureGroup->setObjectName(QStringLiteral("measureGroup"));
  m_measureForm = new QFormLayout(m_measureGroup);
  m_measureForm->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  m_measureForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);

  m_frequencyEdit = MakeNumberEdit(m_measureGroup, "frequencyEdit", 9);
  m_frequencyEdit->setText(FloatText(m_frequency));
  m_measureForm->addRow(Text("IDC_STATIC_FREQ"), WithUnit(m_frequencyEdit, Text("IDC_STATIC_MHZ")));

  m_offsetEdit = MakeNumberEdit(m_measureGroup, "offsetEdit", 9);
  m_offsetEdit->setText(FloatText(m_offset));
  m_measureForm->addRow(Text("IDC_STATIC_EXTOFF"), WithUnit(m_offsetEdit, Text("IDC_STATIC_DB")));
  return m_measureGroup;
}

QRadioButton* CSettingPage::MakeRadio(std::string_view key, const char* objectName) {
  auto* radio = new QRadioButton(Text(key), this);
  radio->setObjectName(QString::fromLatin1(objectName));
  return radio;
}

QComboBox* CSettingPage::AddListRow(std::string_view labelKey, const char* objectName,
                                    std::initializer_list<const char*> items, int index) {
  auto* list = new QComboBox(this);
  list->setObjectName(QString::fromLatin1(objectName));
  FillList(*list, items);
  list->setCurrentIndex(index);
  m_measureForm->addRow(Text(labelKey), list);
  return list;
}

void CSettingPage::AddRadioRow(QFormLayout& form, std::string_view labelKey, QRadioButton* first,
                               QRadioButton* second) {
  // Each pair is exclusive on its own, although the radios share a parent.
  auto* group = new QButtonGroup(this);
  group->addButton(first);
  group->addButton(second);
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(first);
  row->addWidget(second);
  row->addStretch(1);
  form.addRow(Text(labelKey), row);
}

void CSettingPage::LayOutColumns(std::initializer_list<QWidget*> left,
                                 std::initializer_list<QWidget*> right) {
  auto* leftColumn = new QWidget(this);
  leftColumn->setMinimumWidth(290);
  auto* leftLayout = new QVBoxLayout(leftColumn);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* widget : left) leftLayout->addWidget(widget);
  leftLayout->addStretch(1);
  auto* rightLayout = new QVBoxLayout;
  for (QWidget* widget : right) rightLayout->addWidget(widget);
  rightLayout->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(leftColumn);
  layout->addLayout(rightLayout, 1);
}

bool CSettingPage::ReadFrequencyAndOffset() {
  using settings_page::Field;
  float frequency = 0;
  float offset = 0;
  // Checked in the order of the controls, each as soon as it is read.
  if (!ReadFloat(*m_frequencyEdit, frequency)) return false;
  if (const auto failure = settings_page::Validate(ModelCode(), frequency, 0.0f, {})) {
    ShowErrorKey(this, failure->key.c_str(), m_frequencyEdit);
    return false;
  }
  if (!ReadFloat(*m_offsetEdit, offset)) return false;
  if (const auto failure = settings_page::Validate(ModelCode(), frequency, offset, {})) {
    ShowErrorKey(this, failure->key.c_str(),
                 failure->field == Field::Frequency ? m_frequencyEdit : m_offsetEdit);
    return false;
  }
  m_frequency = frequency;
  m_offset = offset;
  return true;
}

void CSettingPage::ApplyFrequencyAndOffset() const {
  m_settings.SetFrequency(m_frequency);
  m_settings.SetExternalOffset(m_offset);
}

}  // namespace wattrix
