#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace wattrix {

class SensorLink;

// Hears the link report its line gone (on the acquisition thread) and calls
// `onLost` on the user-interface thread, where the shell puts the frame
// into the lost state. Registered with the link while it lives.
class SensorLossWatch final : public QObject {
  Q_OBJECT

 public:
  SensorLossWatch(SensorLink& link, QObject& owner, std::function<void()> onLost);
  ~SensorLossWatch() override;
  SensorLossWatch(const SensorLossWatch&) = delete;
  SensorLossWatch& operator=(const SensorLossWatch&) = delete;

 private:
  struct Relay;

  SensorLink& m_link;
  std::function<void()> m_onLost;
  // Shared with the link's handler, which may still run on the acquisition
  // thread while this object goes.
  std::shared_ptr<Relay> m_relay;
};

}  // namespace wattrix
