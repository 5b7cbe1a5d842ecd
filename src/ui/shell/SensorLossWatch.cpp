#include "ui/shell/SensorLossWatch.h"

#include "core/device/SensorLink.h"
#include "core/strings/StringTable.h"
#include "ui/shell/CMainFrame.h"
#include "ui/shell/ChildFrame.h"
#include "ui/shell/FrameToolBars.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMetaObject>

#include <mutex>

namespace wattrix {

struct SensorLossWatch::Relay {
  std::mutex mutex;
  SensorLossWatch* target = nullptr;  // null once the watch is going
};

SensorLossWatch::SensorLossWatch(SensorLink& link, CMainFrame& frame)
    : QObject(&frame), m_link(link), m_frame(frame), m_relay(std::make_shared<Relay>()) {
  m_relay->target = this;
  m_link.SetLineLostHandler([relay = m_relay] {
    std::lock_guard lock(relay->mutex);
    if (!relay->target) return;
    // Posted while the target is known to live; a post still queued when
    // it is destroyed is dropped by Qt.
    QMetaObject::invokeMethod(
        relay->target, [target = relay->target] { target->OnLost(); }, Qt::QueuedConnection);
  });
}

SensorLossWatch::~SensorLossWatch() {
  m_link.SetLineLostHandler({});
  std::lock_guard lock(m_relay->mutex);
  m_relay->target = nullptr;
}

void SensorLossWatch::OnLost() {
  // A sensor connected again before this arrived is not touched.
  if (!m_link.LineLost()) return;
  m_lost = true;
  // The thread and the port go at once (nothing answers, so this is
  // quick); Connect then starts from scratch when the sensor is back.
  m_link.Disconnect();
  TellChildren(true);
  m_frame.SetStatusText(QString::fromStdString(strings::GetString("S_MEASUREVIEW_SENSORLOST")), 0);
  m_frame.ToolBars().UpdateStates();
}

void SensorLossWatch::SensorConnected() {
  if (!m_lost) return;
  m_lost = false;
  TellChildren(false);
}

void SensorLossWatch::TellChildren(bool lost) {
  for (QMdiSubWindow* window : m_frame.MdiArea()->subWindowList())
    if (auto* child = qobject_cast<ChildFrame*>(window->widget())) child->SensorLineLost(lost);
}

}  // namespace wattrix
