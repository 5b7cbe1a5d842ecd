#pragma once

#include "core/vocabulary/Quantity.h"
#include "ui/settings/CSettingPage.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace wattrix {

class CDutyReference;
class LoggingActions;

// The logging page (PX420B): what the sensor logs by itself, how often and
// for how long, with the measurement values it needs. Set programs the
// sensor at once, Clear stops and clears its log; both act whatever the
// dialog's OK or Cancel.
class CSettingDlg_Logging final : public CSettingPage {
  Q_OBJECT

 public:
  // `actions` may be null: then there is no sensor to program.
  CSettingDlg_Logging(MeasurementSettings& settings, LoggingActions* actions, QWidget* parent);

  bool Validate() override;
  void Apply() override;

  // The two buttons' work, also reachable by clicking them.
  void OnSet();
  void OnClear();

  QCheckBox* ItemCheck(int bitIndex) const { return m_items.at(static_cast<std::size_t>(bitIndex)); }
  QLabel* IntervalHint() const { return m_intervalHint; }
  QLineEdit* IntervalMinutesEdit() const { return m_intervalMinutes; }
  QLineEdit* IntervalSecondsEdit() const { return m_intervalSeconds; }
  QLineEdit* RunHoursEdit() const { return m_runHours; }
  QLineEdit* RunMinutesEdit() const { return m_runMinutes; }
  CDutyReference* DutyReference() const { return m_dutyReference; }

 private:
  QWidget* MakeItemsGroup();
  QuantityMask CheckedMask() const;
  void UpdateIntervalHint();

  LoggingActions* m_actions;
  QComboBox* m_technologyList = nullptr;
  QComboBox* m_repeatList = nullptr;
  QComboBox* m_rateList = nullptr;
  QComboBox* m_periodList = nullptr;
  CDutyReference* m_dutyReference = nullptr;
  // Forward AVG, PEAK, REV, PULSE: bits 0x01, 0x02, 0x04, 0x08.
  std::array<QCheckBox*, 4> m_items{};
  QLineEdit* m_intervalMinutes = nullptr;
  QLineEdit* m_intervalSeconds = nullptr;
  QLabel* m_intervalHint = nullptr;
  QLineEdit* m_runHours = nullptr;
  QLineEdit* m_runMinutes = nullptr;
  QPushButton* m_set = nullptr;
  QPushButton* m_clear = nullptr;

  int m_rateIndex;
  int m_periodIndex;
  int m_repeatIndex;
  QuantityMask m_itemMask;
  int m_intervalMinutesValue;
  int m_intervalSecondsValue;
  int m_runHoursValue;
  int m_runMinutesValue;
};

}  // namespace wattrix
