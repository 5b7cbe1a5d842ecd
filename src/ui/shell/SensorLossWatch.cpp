#include "ui/shell/SensorLossWatch.h"

#include "core/device/SensorLink.h"

#include <QMetaObject>

#include <mutex>

namespace wattrix {

struct SensorLossWatch::Relay {
  std::mutex mutex;
  SensorLossWatch* target = nullptr;  // null once the watch is going
};

SensorLossWatch::SensorLossWatch(SensorLink& link, QObject& owner, std::function<void()> onLost)
    : QObject(&owner), m_link(link), m_onLost(std::move(onLost)), m_relay(std::make_shared<Relay>()) {
  m_relay->target = this;
  m_link.SetLineLostHandler([relay = m_relay] {
    std::lock_guard lock(relay->mutex);
    if (!relay->target) return;
    // Posted while the target is known to live; a post still queued when
    // it is destroyed is dropped by Qt.
    QMetaObject::invokeMethod(
        relay->target, [target = relay->target] { target->m_onLost(); }, Qt::QueuedConnection);
  });
}

SensorLossWatch::~SensorLossWatch() {
  m_link.SetLineLostHandler({});
  std::lock_guard lock(m_relay->mutex);
  m_relay->target = nullptr;
}

}  // namespace wattrix
