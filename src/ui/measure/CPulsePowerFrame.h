#pragma once

#include "ui/measure/CModeFrame.h"

namespace wattrix {

class CMainFrame;
class MeasurementSettings;
class SensorLink;

// The live window of the PULSE mode: a frame around a CPulsePowerView.
class CPulsePowerFrame final : public CModeFrame {
  Q_OBJECT

 public:
  CPulsePowerFrame(MeasurementSettings& settings, SensorLink& link, CMainFrame* mainFrame,
                   QWidget* parent = nullptr);

  ChildKind Kind() const override { return LiveWindowKind::Pulse; }
};

}  // namespace wattrix
