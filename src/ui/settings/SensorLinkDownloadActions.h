#pragma once

#include "ui/settings/CDownloadDlg.h"
#include "ui/settings/DownloadActions.h"

class QWidget;

namespace wattrix {

class CMainFrame;
class MeasurementSettings;
class SensorLink;

// The download dialog's actions on the real sensor link; the fetch's
// time-out follows the kind of link.
class SensorLinkDownloadActions final : public DownloadActions {
 public:
  SensorLinkDownloadActions(SensorLink& link, bool serialLink) : m_link(link), m_serialLink(serialLink) {}

  int LoggingStatus(int index) const override;
  logging_download::FetchOutcome Fetch(std::vector<std::uint16_t>& values,
                                       LogTransferControl& control) override;
  bool ClearMemory() override;

 private:
  SensorLink& m_link;
  bool m_serialLink;
};

// What the download dialog asks of the main frame's windows: the live
// measurement and pulse windows give up their runs (asking about an
// unsaved one) and start over once replaced; Show in Window's file opens
// through the frame's open flow.
DownloadHooks FrameDownloadHooks(CMainFrame& frame);

// Shows the download dialog for the main frame's Download Logging Data
// command (the status has been read): served by `link`, replacing the
// live histories of `settings` only once the live windows gave up their
// runs, and opening Show in Window's file through the frame.
void RunDownloadDialog(CMainFrame& frame, QWidget* owner, SensorLink& link, MeasurementSettings& settings);

}  // namespace wattrix
