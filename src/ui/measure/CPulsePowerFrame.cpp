#include "ui/measure/CPulsePowerFrame.h"

#include "ui/measure/CPulsePowerView.h"

namespace wattrix {

CPulsePowerFrame::CPulsePowerFrame(MeasurementSettings& settings, SensorLink& link, CMainFrame* mainFrame,
                                   QWidget* parent)
    : CModeFrame(new CPulsePowerView(settings, link, mainFrame), parent) {
  setObjectName(QStringLiteral("CPulsePowerFrame"));
}

}  // namespace wattrix
