#include "ui/measure/CPulsePowerView.h"

namespace wattrix {

CPulsePowerView::CPulsePowerView(MeasurementSettings& settings, CMainFrame* frame, QWidget* parent)
    : CModeView(ModeView::Pulse, SinkSlot::kPulse, settings, frame, parent) {
  setObjectName(QStringLiteral("CPulsePowerView"));
}

}  // namespace wattrix
