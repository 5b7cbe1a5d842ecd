// The live window's questions before a run could be lost, and its state
// after the sensor went away.
#include "core/measure/MeasurementSettings.h"
#include "core/measure/ModeSession.h"
#include "core/measure/ModeSessionHost.h"
#include "core/platform/MessageBoxes.h"

namespace wattrix {

bool ModeSession::HasUnsavedRun() const { return m_unsaved && m_settings.Count(FirstQuantity()) > 0; }

bool ModeSession::ConfirmClose() {
  if (!HasUnsavedRun()) return true;
  switch (m_host.AskYesNoCancel("S_MEASUREVIEW_ONCLOSEUNSAVED")) {
    case mb::kIdYes:
      // Only a finished run is saved. When the save does not happen (file
      // dialog cancelled, write failed) the window stays with its run.
      Stop();
      m_host.RunSaveCommand();
      return !m_unsaved;
    case mb::kIdNo:
      return true;
    default:
      return false;
  }
}

void ModeSession::SensorLost() {
  m_sensorLost = true;
  Stop();
}

}  // namespace wattrix
