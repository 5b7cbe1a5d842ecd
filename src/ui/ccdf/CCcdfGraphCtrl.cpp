#include "ui/ccdf/CCcdfGraphCtrl.h"

#include "core/strings/StringTable.h"
#include "ui/platform/FramePacer.h"
#include "ui/platform/QtCanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace wattrix {

namespace {

// What the face is drawn from besides the size.
auto FaceState(const CCcdfGraph& g) {
  return std::make_tuple(g.XMin(), g.XMax(), g.YMin(), g.YMax(), g.Title(), g.XAxisTitle(), g.YAxisTitle());
}

QRect ToQRect(const PixelRect& r) { return QRect(r.left, r.top, r.width, r.height); }

// Rectangles covering the curve and the marker as the graph draws them for
// its current layout: the curve in short runs, each ending where the next
// begins and cut when it spans more than a few pixels, so that a new curve
// repaints little more than the old and the new line. A pixel more on
// every side allows for the rasteriser's rounding.
std::vector<QRect> DataBoxes(const CCcdfGraph& graph) {
  std::vector<QRect> boxes;
  const PixelRect m = graph.MarkerBox();
  // The triangle's outline runs along the box's right and bottom edges.
  if (m.width > 0) boxes.emplace_back(m.left - 1, m.top - 1, m.width + 3, m.height + 3);
  constexpr int kRunSpan = 16;
  const std::vector<PixelPoint>& points = graph.DrawnPoints();
  std::size_t first = 0;
  while (first < points.size()) {
    int left = points[first].x, right = left, top = points[first].y, bottom = top;
    std::size_t last = first;
    while (last + 1 < points.size()) {
      const PixelPoint& p = points[last + 1];
      const int l = std::min(left, p.x), r = std::max(right, p.x);
      const int t = std::min(top, p.y), b = std::max(bottom, p.y);
      if (last > first && (r - l) + (b - t) > kRunSpan) break;
      left = l, right = r, top = t, bottom = b;
      ++last;
    }
    boxes.emplace_back(QPoint(left - 1, top - 1), QPoint(right + 1, bottom + 1));
    if (last + 1 >= points.size()) break;
    first = last;
  }
  return boxes;
}

}  // namespace

CCcdfGraphCtrl::CCcdfGraphCtrl(QWidget* parent) : QWidget(parent), m_graph(0, 0, 0, 0, 1) {
  // The image covers every pixel: no background erase.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setCursor(Qt::ArrowCursor);
  setMinimumSize(0, 0);
  // Which line is the measurement and which the reference.
  m_graph.SetLegend(strings::GetString("S_CCDF_GRAPH_MEASURED"),
                    strings::GetString("S_CCDF_GRAPH_REFERENCE"));
}

void CCcdfGraphCtrl::SetCurve(float xFrom, float xTo, float yFirst, float ySecond,
                              std::span<const CcdfPoint> curve) {
  if (m_hasCurve && std::equal(curve.begin(), curve.end(), m_curve.begin(), m_curve.end())) return;
  m_curve.assign(curve.begin(), curve.end());
  m_hasCurve = true;
  const auto face = FaceState(m_graph);
  // The old line goes, the new one comes.
  MarkData();
  m_graph.SetCurve(xFrom, xTo, yFirst, ySecond, curve);
  if (FaceState(m_graph) != face) return InvalidateAll();
  m_graph.LayOutData();
  MarkData();
  RequestStale();
}

void CCcdfGraphCtrl::MarkData() {
  for (const QRect& box : DataBoxes(m_graph)) MarkRect(box);
  if (m_graph.MarkerText() != m_shownMarkerText) MarkRect(ToQRect(m_graph.MarkerTextBand()));
}

void CCcdfGraphCtrl::MarkRect(const QRect& rect) {
  const QRect inside = rect & QRect(0, 0, m_cellColumns * kCell, height());
  if (inside.isEmpty() || m_staleCells.empty()) return;
  const int rows = static_cast<int>(m_staleCells.size()) / m_cellColumns;
  for (int row = inside.top() / kCell; row <= inside.bottom() / kCell && row < rows; ++row) {
    auto* cells = &m_staleCells[static_cast<std::size_t>(row * m_cellColumns)];
    std::fill(cells + inside.left() / kCell, cells + inside.right() / kCell + 1, std::uint8_t{1});
  }
  m_anyStale = true;
}

QRegion CCcdfGraphCtrl::StaleRegion() const {
  QRegion region;
  if (!m_anyStale) return region;
  // Runs of cells, row by row: already the banded form a region keeps.
  std::vector<QRect> rects;
  const int rows = static_cast<int>(m_staleCells.size()) / m_cellColumns;
  for (int row = 0; row < rows; ++row) {
    const std::uint8_t* cells = &m_staleCells[static_cast<std::size_t>(row * m_cellColumns)];
    const int top = row * kCell;
    const int rowHeight = std::min(kCell, height() - top);
    for (int c = 0; c < m_cellColumns && rowHeight > 0;) {
      if (!cells[c]) {
        ++c;
        continue;
      }
      const int first = c;
      while (c < m_cellColumns && cells[c]) ++c;
      const int left = first * kCell;
      const int right = std::min(c * kCell, width());
      if (right > left) rects.emplace_back(left, top, right - left, rowHeight);
    }
  }
  region.setRects(rects.data(), static_cast<int>(rects.size()));
  return region;
}

void CCcdfGraphCtrl::RequestStale() { RequestRepaint(m_pacer, *this, StaleRegion()); }

void CCcdfGraphCtrl::InvalidateAll() {
  m_faceStale = true;
  MarkRect(rect());
  RequestStale();
}

void CCcdfGraphCtrl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_graph.SetCanvas(0, 0, width(), height());
  const double ratio = devicePixelRatioF();
  const QSize pixels(static_cast<int>(std::ceil(std::max(width(), 100) * ratio)),
                     static_cast<int>(std::ceil(std::max(height(), 100) * ratio)));
  if (m_surface.size() != pixels) {
    m_surface = QImage(pixels, QImage::Format_RGB32);
    m_surface.setDevicePixelRatio(ratio);
    m_face = QImage(pixels, QImage::Format_RGB32);
    m_face.setDevicePixelRatio(ratio);
  }
  m_cellColumns = (width() + kCell - 1) / kCell;
  const int rows = (height() + kCell - 1) / kCell;
  m_staleCells.assign(static_cast<std::size_t>(std::max(0, m_cellColumns * rows)), 0);
  InvalidateAll();
}

void CCcdfGraphCtrl::UpdateSurface() {
  if (m_surface.isNull()) return;
  if (m_faceStale) {
    QPainter painter(&m_face);
    QtCanvas canvas(painter);
    // The graph's canvas is at least 350 × 300; a smaller window shows its
    // top-left part.
    m_graph.DrawFace(canvas);
    ++m_facePaints;
    m_faceStale = false;
    MarkRect(rect());
  }
  if (!m_anyStale) return;
  const QRegion stale = StaleRegion();
  QPainter painter(&m_surface);
  const double ratio = m_surface.devicePixelRatio();
  // The face back under the old data, then the data drawn whole: every
  // pixel of the curve and the marker lies in the stale region; the band
  // and the legend are drawn only where the face was put back over them.
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (const QRect& rect : stale) {
    const QRectF r(rect);
    painter.drawImage(r, m_face, QRectF(r.topLeft() * ratio, r.size() * ratio));
  }
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  QtCanvas canvas(painter);
  m_graph.DrawData(canvas, stale.intersects(ToQRect(m_graph.MarkerTextBand())),
                   stale.intersects(ToQRect(m_graph.LegendBox())));
  m_shownMarkerText = m_graph.MarkerText();
  ++m_surfacePaints;
  m_lastSurfaceRegion = stale;
  std::fill(m_staleCells.begin(), m_staleCells.end(), std::uint8_t{0});
  m_anyStale = false;
}

QImage CCcdfGraphCtrl::Surface() {
  UpdateSurface();
  return m_surface;
}

void CCcdfGraphCtrl::paintEvent(QPaintEvent* event) {
  UpdateSurface();
  if (m_surface.isNull()) return;
  QPainter painter(this);
  const double ratio = m_surface.devicePixelRatio();
  // Only the exposed part is copied.
  for (const QRect& rect : event->region()) {
    const QRectF r(rect);
    painter.drawImage(r, m_surface, QRectF(r.topLeft() * ratio, r.size() * ratio));
  }
}

void CCcdfGraphCtrl::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton && m_graph.MarkerBoxContains(pos.x(), pos.y())) {
    m_dragging = true;
  } else if (event->button() == Qt::RightButton) {
    emit ContextMenuRequested(event->globalPosition().toPoint());
  }
  event->accept();
}

void CCcdfGraphCtrl::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging) return event->ignore();
  MarkData();
  m_graph.MoveMarker(event->position().toPoint().x());
  m_graph.LayOutData();
  MarkData();
  RequestStale();
  event->accept();
}

void CCcdfGraphCtrl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_dragging) return event->ignore();
  m_dragging = false;
  event->accept();
}

}  // namespace wattrix
