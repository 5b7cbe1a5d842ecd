#pragma once

#include <QWidget>

#include <string_view>

class QLineEdit;
class QRadioButton;

namespace wattrix {

class MeasurementSettings;

// The duty-cycle and pulse-reference groups of the pulse and logging
// pages, with their interlock: a fixed duty cycle needs no reference, so
// manual duty forces the automatic reference and locks its controls.
class CDutyReference final : public QWidget {
  Q_OBJECT

 public:
  CDutyReference(std::string_view section, const MeasurementSettings& settings, QWidget* parent);

  // Reads the edits of the manual choices; false (after refusing the edit)
  // when one does not hold a number.
  bool ReadControls();
  // DUTY and REFERENCE from the copies.
  void Apply(MeasurementSettings& settings) const;

  QRadioButton* DutyAuto() const { return m_dutyAuto; }
  QRadioButton* DutyManual() const { return m_dutyManual; }
  QRadioButton* ReferenceAuto() const { return m_referenceAuto; }
  QRadioButton* ReferenceManual() const { return m_referenceManual; }
  QLineEdit* DutyEdit() const { return m_dutyEdit; }
  QLineEdit* ReferenceEdit() const { return m_referenceEdit; }

 private:
  void RunInterlock();

  QRadioButton* m_dutyAuto = nullptr;
  QRadioButton* m_dutyManual = nullptr;
  QLineEdit* m_dutyEdit = nullptr;
  QRadioButton* m_referenceAuto = nullptr;
  QRadioButton* m_referenceManual = nullptr;
  QLineEdit* m_referenceEdit = nullptr;

  bool m_manualDuty;
  bool m_manualReference;
  double m_dutyValue;
  double m_referenceValue;
};

}  // namespace wattrix
