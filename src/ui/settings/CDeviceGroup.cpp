#include "ui/settings/CDeviceGroup.h"

#include "core/measure/MeasurementSettings.h"
#include "ui/settings/SettingsFields.h"

#include <QFormLayout>
#include <QLabel>

namespace wattrix {

namespace {

QLabel* ValueLabel(const std::string& text, const char* objectName, QWidget* parent) {
  auto* label = new QLabel(QString::fromStdString(text), parent);
  label->setObjectName(QString::fromLatin1(objectName));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

CDeviceGroup::CDeviceGroup(std::string_view section, const MeasurementSettings& settings, QWidget* parent)
    : QGroupBox(settings_fields::DialogText(section, "IDC_STATIC_DEVICE"), parent) {
  using settings_fields::DialogText;
  setObjectName(QStringLiteral("deviceGroup"));
  auto* form = new QFormLayout(this);
  form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  form->addRow(DialogText(section, "IDC_STATIC_MODEL"), ValueLabel(settings.ModelName(), "modelText", this));
  form->addRow(DialogText(section, "IDC_STATIC_SN"), ValueLabel(settings.SerialNumber(), "serialText", this));
  form->addRow(DialogText(section, "IDC_STATIC_VER"),
               ValueLabel(settings.FirmwareVersion(), "versionText", this));
}

}  // namespace wattrix
