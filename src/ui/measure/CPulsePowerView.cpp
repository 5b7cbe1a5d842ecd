#include "ui/measure/CPulsePowerView.h"

namespace wattrix {

CPulsePowerView::CPulsePowerView(MeasurementSettings& settings, SensorLink& link, CMainFrame* frame,
                                 QWidget* parent)
    : CModeView(LiveWindowKind::Pulse, settings, link, frame, parent) {
  setObjectName(QStringLiteral("CPulsePowerView"));
}

}  // namespace wattrix
