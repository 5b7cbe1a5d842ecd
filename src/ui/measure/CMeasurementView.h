#pragma once

#include "ui/measure/CModeView.h"

namespace wattrix {

// The live window's client for the AVG, PEAK and AVG & PEAK modes.
class CMeasurementView final : public CModeView {
  Q_OBJECT

 public:
  CMeasurementView(MeasurementSettings& settings, SensorLink& link, CMainFrame* frame,
                   QWidget* parent = nullptr);
};

}  // namespace wattrix
