#include "ui/settings/SensorLinkDownloadActions.h"

#include "core/device/SensorLink.h"
#include "ui/shell/CMainFrame.h"
#include "ui/shell/ChildFrame.h"

#include <array>

namespace wattrix {

namespace {

// The live windows write the histories a download replaces.
constexpr std::array<ChildKind, 2> kLiveKinds = {LiveWindowKind::Measurement, LiveWindowKind::Pulse};

}  // namespace

int SensorLinkDownloadActions::LoggingStatus(int index) const { return m_link.LoggingStatus(index); }

logging_download::FetchOutcome SensorLinkDownloadActions::Fetch(std::vector<std::uint16_t>& values,
                                                                LogTransferControl& control) {
  return logging_download::ReadFetch(m_link, m_serialLink, values, control);
}

bool SensorLinkDownloadActions::ClearMemory() {
  if (!m_link.ClearLoggingMemory()) return false;
  // What the sensor now holds; a failed read leaves the old status, and
  // the fetch then meets an empty memory as a failed transfer.
  m_link.ReadLoggingStatus();
  return true;
}

DownloadHooks FrameDownloadHooks(CMainFrame& frame) {
  DownloadHooks hooks;
  hooks.releaseRun = [&frame] {
    for (const ChildKind kind : kLiveKinds) {
      ChildFrame* child = frame.ChildOfKind(kind);
      if (child && !child->ReleaseRun("S_SETTING_WARNING_DN_UNSAVED")) return false;
    }
    return true;
  };
  hooks.historiesReplaced = [&frame] {
    for (const ChildKind kind : kLiveKinds)
      if (ChildFrame* child = frame.ChildOfKind(kind)) child->HistoriesReplaced();
  };
  hooks.openHistory = [&frame](const QString& path) { return frame.OpenHistoryFile(path); };
  return hooks;
}

void RunDownloadDialog(CMainFrame& frame, QWidget* owner, SensorLink& link, MeasurementSettings& settings) {
  SensorLinkDownloadActions actions(link, frame.SerialLink());
  CDownloadDlg dialog(settings, actions, FrameDownloadHooks(frame), owner);
  dialog.exec();
}

}  // namespace wattrix
