#include "ui/measure/CMeasurementView.h"

namespace wattrix {

CMeasurementView::CMeasurementView(MeasurementSettings& settings, CMainFrame* frame, QWidget* parent)
    : CModeView(LiveWindowKind::Measurement, SinkSlot::kMeasurement, settings, frame, parent) {
  setObjectName(QStringLiteral("CMeasurementView"));
}

}  // namespace wattrix
