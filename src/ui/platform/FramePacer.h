#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace wattrix {

// Gathers the repaint requests of a window's widgets and passes them on to
// Qt at most once per screen frame. Readings that arrive faster than the
// screen refreshes then cost one paint per frame, and a request after a
// quiet spell goes out at once. Only painting waits here; whatever asked
// for the paint has already happened.
class FramePacer final : public QObject {
 public:
  explicit FramePacer(QObject* parent = nullptr);

  // The part of `widget` to repaint at the next frame.
  void Request(QWidget& widget, const QRegion& region);
  void Request(QWidget& widget) { Request(widget, widget.rect()); }

  // Frame length in milliseconds; taken from the screen's refresh rate.
  int FrameInterval() const { return m_intervalMs; }
  void SetFrameInterval(int ms);
  // Requests not yet passed on: any, and those of one widget.
  bool Pending() const { return !m_pending.empty(); }
  QRegion PendingRegion(const QWidget& widget) const;
  // Passes every gathered request on now.
  void Flush();

 private:
  struct Entry {
    QPointer<QWidget> widget;
    QRegion region;
  };

  std::vector<Entry> m_pending;
  QTimer m_timer;
  QElapsedTimer m_sinceFlush;
  int m_intervalMs;
};

// Repaints `region` of `widget` through `pacer`, or at once without one.
inline void RequestRepaint(FramePacer* pacer, QWidget& widget, const QRegion& region) {
  if (region.isEmpty()) return;
  if (pacer) {
    pacer->Request(widget, region);
  } else {
    widget.update(region);
  }
}

}  // namespace wattrix
