#include "ui/measure/CMeasurementFrame.h"

#include "ui/measure/CMeasurementView.h"

namespace wattrix {

CMeasurementFrame::CMeasurementFrame(MeasurementSettings& settings, CMainFrame* mainFrame, QWidget* parent)
    : CModeFrame(new CMeasurementView(settings, mainFrame), parent) {
  setObjectName(QStringLiteral("CMeasurementFrame"));
}

}  // namespace wattrix
