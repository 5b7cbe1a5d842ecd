#include "ui/measure/CMeasurementView.h"

namespace wattrix {

CMeasurementView::CMeasurementView(MeasurementSettings& settings, SensorLink& link, CMainFrame* frame,
                                   QWidget* parent)
    : CModeView(LiveWindowKind::Measurement, settings, link, frame, parent) {
  setObjectName(QStringLiteral("CMeasurementView"));
}

}  // namespace wattrix
