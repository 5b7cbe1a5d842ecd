#include "ui/measure/CPulsePowerView.h"

namespace wattrix {

CPulsePowerView::CPulsePowerView(MeasurementSettings& settings, CMainFrame* frame, QWidget* parent)
    : CModeView(LiveWindowKind::Pulse, SinkSlot::kPulse, settings, frame, parent) {
  setObjectName(QStringLiteral("CPulsePowerView"));
}

}  // namespace wattrix
