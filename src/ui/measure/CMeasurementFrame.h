#pragma once

#include "ui/measure/CModeFrame.h"

namespace wattrix {

class CMainFrame;
class MeasurementSettings;
class SensorLink;

// The live window of the AVG, PEAK and AVG & PEAK modes: a frame around a CMeasurementView.
class CMeasurementFrame final : public CModeFrame {
  Q_OBJECT

 public:
  CMeasurementFrame(MeasurementSettings& settings, SensorLink& link, CMainFrame* mainFrame,
                    QWidget* parent = nullptr);

  ChildKind Kind() const override { return LiveWindowKind::Measurement; }
};

}  // namespace wattrix
