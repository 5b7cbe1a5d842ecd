#pragma once

#include "core/settings/SettingsPageRules.h"
#include "core/vocabulary/Quantity.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace wattrix {

class MeasurementSettings;

// One range sub-page of the average/peak and pulse pages: display range,
// limits, limit check, beep alarm and beep kind of one quantity.
class CRangeDlg final : public QWidget {
  Q_OBJECT

 public:
  CRangeDlg(const MeasurementSettings& settings, Quantity quantity, QWidget* parent);

  Quantity EditedQuantity() const { return m_quantity; }
  // Reads the controls into the copies; the first edit that does not hold
  // a number, or null when all do.
  QLineEdit* ReadControls();
  settings_page::RangeValues Values() const;
  // Display range, limits, limit check, beep alarm and beep kind.
  void Store(MeasurementSettings& settings) const;

  QLineEdit* DisplayLowEdit() const { return m_displayLow; }
  QLineEdit* DisplayHighEdit() const { return m_displayHigh; }
  QLineEdit* LimitLowEdit() const { return m_limitLow; }
  QLineEdit* LimitHighEdit() const { return m_limitHigh; }

 private:
  Quantity m_quantity;
  QLineEdit* m_displayLow = nullptr;
  QLineEdit* m_displayHigh = nullptr;
  QCheckBox* m_limitCheck = nullptr;
  QCheckBox* m_alarm = nullptr;
  QLineEdit* m_limitLow = nullptr;
  QLineEdit* m_limitHigh = nullptr;
  QComboBox* m_beepList = nullptr;

  float m_displayLowValue;
  float m_displayHighValue;
  bool m_limitCheckValue;
  bool m_alarmValue;
  float m_limitLowValue;
  float m_limitHighValue;
  int m_beepKind;
};

}  // namespace wattrix
