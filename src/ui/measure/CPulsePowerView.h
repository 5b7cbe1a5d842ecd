#pragma once

#include "ui/measure/CModeView.h"

namespace wattrix {

// The live window's client for the PULSE mode.
class CPulsePowerView final : public CModeView {
  Q_OBJECT

 public:
  CPulsePowerView(MeasurementSettings& settings, SensorLink& link, CMainFrame* frame,
                  QWidget* parent = nullptr);
};

}  // namespace wattrix
