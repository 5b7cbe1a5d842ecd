#include "ui/measure/CPulsePowerFrame.h"

#include "ui/measure/CPulsePowerView.h"

namespace wattrix {

CPulsePowerFrame::CPulsePowerFrame(MeasurementSettings& settings, CMainFrame* mainFrame, QWidget* parent)
    : CModeFrame(new CPulsePowerView(settings, mainFrame), parent) {
  setObjectName(QStringLiteral("CPulsePowerFrame"));
}

}  // namespace wattrix
