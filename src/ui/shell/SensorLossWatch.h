#pragma once

#include <QObject>

#include <memory>

namespace wattrix {

class CMainFrame;
class SensorLink;

// Hears the link report its line gone (on the acquisition thread) and puts
// the main frame into the lost state on the user-interface thread: the link
// is taken down, the live windows stop and say the sensor is not
// responding, and the status bar says so too. Registered with the link
// while it lives.
class SensorLossWatch final : public QObject {
  Q_OBJECT

 public:
  SensorLossWatch(SensorLink& link, CMainFrame& frame);
  ~SensorLossWatch() override;
  SensorLossWatch(const SensorLossWatch&) = delete;
  SensorLossWatch& operator=(const SensorLossWatch&) = delete;

  // A sensor is connected again: the windows leave the lost state.
  void SensorConnected();
  // The user disconnected: nothing is lost any more, only disconnected.
  void SensorDisconnected() { m_lost = false; }
  bool Lost() const { return m_lost; }

 private:
  struct Relay;

  void OnLost();
  void TellChildren(bool lost);

  SensorLink& m_link;
  CMainFrame& m_frame;
  // Shared with the link's handler, which may still run on the acquisition
  // thread while this object goes.
  std::shared_ptr<Relay> m_relay;
  bool m_lost = false;
};

}  // namespace wattrix
