#pragma once

#include "ui/measure/CModeFrame.h"

namespace wattrix {

class CMainFrame;
class MeasurementSettings;

// The live window of the PULSE mode: a frame around a CPulsePowerView.
class CPulsePowerFrame final : public CModeFrame {
  Q_OBJECT

 public:
  CPulsePowerFrame(MeasurementSettings& settings, CMainFrame* mainFrame, QWidget* parent = nullptr);

  ChildKind Kind() const override { return LiveWindowKind::Pulse; }
};

}  // namespace wattrix
