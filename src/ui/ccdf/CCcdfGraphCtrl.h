#pragma once

#include "core/ccdf/CCcdfGraph.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace wattrix {

class FramePacer;

// The CCDF graph's window: owns the graph, keeps its image at the
// window's size (at least 100 × 100), paints it through the Qt canvas, and
// lets the user drag the marker along the curve with the left button
// pressed inside the marker's triangle. The face (grid, labels, reference
// curve) is kept as an image of its own and drawn again only when the size
// or the axes change; a new curve or marker puts the face back under the
// old line and draws the new one, and only those pixels are copied out.
class CCcdfGraphCtrl final : public QWidget {
  Q_OBJECT

 public:
  explicit CCcdfGraphCtrl(QWidget* parent = nullptr);

  // Repaints go through `pacer` (owned by the window; null: at once).
  void SetFramePacer(FramePacer* pacer) { m_pacer = pacer; }

  // A new curve (highest power first) with the axis ranges; nothing is
  // redrawn when it equals the curve shown.
  void SetCurve(float xFrom, float xTo, float yFirst, float ySecond, std::span<const CcdfPoint> curve);

  const CCcdfGraph& Graph() const { return m_graph; }
  bool Dragging() const { return m_dragging; }
  // Draws of the data into the image since it was made, and of the face.
  int SurfacePaints() const { return m_surfacePaints; }
  int FacePaints() const { return m_facePaints; }
  // The part of the image the last draw of the data renewed.
  const QRegion& LastSurfaceRegion() const { return m_lastSurfaceRegion; }
  // The image as the next paint shows it (drawn now if need be).
  QImage Surface();

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
  // Side of the square cells in which stale parts of the image are kept:
  // a region of a few dozen cell runs is cheap to build, paint and flush,
  // where one of hundreds of small boxes is not.
  static constexpr int kCell = 16;

  // Marks where the data is drawn now (or will be at the next paint).
  void MarkData();
  void MarkRect(const QRect& rect);
  // The marked cells as a region, within the window.
  QRegion StaleRegion() const;
  // Asks for a paint of the marked cells.
  void RequestStale();
  void InvalidateAll();
  void UpdateSurface();

  CCcdfGraph m_graph;
  std::vector<CcdfPoint> m_curve;  // as last handed over
  bool m_hasCurve = false;
  QImage m_face;
  QImage m_surface;
  bool m_faceStale = true;
  // Cells of the image to draw again before the next copy, row by row.
  std::vector<std::uint8_t> m_staleCells;
  int m_cellColumns = 0;
  bool m_anyStale = false;
  std::string m_shownMarkerText;  // in the image's marker band
  QRegion m_lastSurfaceRegion;
  FramePacer* m_pacer = nullptr;
  bool m_dragging = false;
  int m_surfacePaints = 0;
  int m_facePaints = 0;
};

}  // namespace wattrix
