#include "ui/measure/CMeasurementFrame.h"

#include "ui/measure/CMeasurementView.h"

namespace wattrix {

CMeasurementFrame::CMeasurementFrame(MeasurementSettings& settings, SensorLink& link, CMainFrame* mainFrame,
                                     QWidget* parent)
    : CModeFrame(new CMeasurementView(settings, link, mainFrame), parent) {
  setObjectName(QStringLiteral("CMeasurementFrame"));
}

}  // namespace wattrix
