#pragma once

#include <QLabel>

#include <cstdint>

class QTimer;

namespace wattrix {

class CMainFrame;
class SensorLink;

// A status-bar pane with the count of replies the link refused since it
// connected ("Rejected: 12"), shown while a live window is active, so
// that a poor line is seen rather than silently skipped.
class RejectedRepliesPane final : public QLabel {
  Q_OBJECT

 public:
  RejectedRepliesPane(SensorLink& link, CMainFrame& frame);

  // Reads the count and the active window again (also run by a timer).
  void Refresh();
  // The pane's text for `count` refused replies.
  static QString Text(std::uint64_t count);

 private:
  SensorLink& m_link;
  CMainFrame& m_frame;
  QTimer* m_timer = nullptr;
};

}  // namespace wattrix
