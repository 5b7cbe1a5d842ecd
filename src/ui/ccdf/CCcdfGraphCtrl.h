#pragma once

#include "core/ccdf/CCcdfGraph.h"

#include <QImage>
#include <QWidget>

#include <span>
#include <vector>

namespace wattrix {

// The CCDF graph's window: owns the graph, keeps its image at the
// window's size (at least 100 × 100), paints it through the Qt canvas, and
// lets the user drag the marker along the curve with the left button
// pressed inside the marker's triangle. The image is drawn again only when
// the curve, the marker or the size changed; other paints copy it.
class CCcdfGraphCtrl final : public QWidget {
  Q_OBJECT

 public:
  explicit CCcdfGraphCtrl(QWidget* parent = nullptr);

  // A new curve (highest power first) with the axis ranges; nothing is
  // redrawn when it equals the curve shown.
  void SetCurve(float xFrom, float xTo, float yFirst, float ySecond, std::span<const CcdfPoint> curve);

  const CCcdfGraph& Graph() const { return m_graph; }
  bool Dragging() const { return m_dragging; }
  // Draws of the graph into the image since it was made.
  int SurfacePaints() const { return m_surfacePaints; }

 signals:
  // A right click: the frame shows its context menu at `globalPos`.
  void ContextMenuRequested(QPoint globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Redraw();
  void PaintSurface();

  CCcdfGraph m_graph;
  std::vector<CcdfPoint> m_curve;  // as last handed over
  bool m_hasCurve = false;
  QImage m_surface;
  bool m_dirty = true;
  bool m_dragging = false;
  int m_surfacePaints = 0;
};

}  // namespace wattrix
