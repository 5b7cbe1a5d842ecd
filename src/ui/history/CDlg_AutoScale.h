#pragma once

#include "core/history/HistoryCommands.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace wattrix {

// The vertical scale of a history graph: "Auto Scale" shows the proposal
// (a tenth of the span beyond min and max) in the disabled "Max" and "Min"
// fields; unticking it lets the user type both. OK reads both fields as
// numbers, whatever the box state.
class CDlg_AutoScale final : public QDialog {
  Q_OBJECT

 public:
  explicit CDlg_AutoScale(const ScaleProposal& proposal, QWidget* parent = nullptr);

  // The values read on OK (text that is not a number reads 0).
  float Top() const { return m_top; }
  float Bottom() const { return m_bottom; }

  QCheckBox* AutoBox() const { return m_auto; }
  QLineEdit* MaxField() const { return m_max; }
  QLineEdit* MinField() const { return m_min; }

  void accept() override;

 private:
  void OnAutoToggled(bool on);

  ScaleProposal m_proposal;
  QCheckBox* m_auto;
  QLineEdit* m_max;
  QLineEdit* m_min;
  float m_top = 0;
  float m_bottom = 0;
};

}  // namespace wattrix
