#pragma once

#include <QGroupBox>

#include <string_view>

namespace wattrix {

class MeasurementSettings;

// The "Device" group of every settings page: model, serial number and
// firmware version of the connected sensor, shown only.
class CDeviceGroup final : public QGroupBox {
  Q_OBJECT

 public:
  CDeviceGroup(std::string_view section, const MeasurementSettings& settings, QWidget* parent);
};

}  // namespace wattrix
