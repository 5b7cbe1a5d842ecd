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

namespace wattrix {

namespace {

// What the face is drawn from besides the size.
auto FaceState(const CCcdfGraph& g) {
  return std::make_tuple(g.XMin(), g.XMax(), g.YMin(), g.YMax(), g.Title(), g.XAxisTitle(), g.YAxisTitle());
}

QRect ToQRect(const PixelRect& r) { return QRect(r.left, r.top, r.width, r.height); }

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
  InvalidateData();
  m_graph.SetCurve(xFrom, xTo, yFirst, ySecond, curve);
  if (FaceState(m_graph) != face) {
    InvalidateAll();
  } else {
    m_graph.LayOutData();
    InvalidateData();
  }
}

void CCcdfGraphCtrl::InvalidateData() {
  QRegion region;
  for (const PixelRect& box : m_graph.DataBoxes()) region += ToQRect(box);
  Invalidate(region);
}

void CCcdfGraphCtrl::InvalidateAll() {
  m_faceStale = true;
  Invalidate(rect());
}

void CCcdfGraphCtrl::Invalidate(const QRegion& region) {
  const QRegion inside = region & rect();
  if (inside.isEmpty()) return;
  m_stale += inside;
  RequestRepaint(m_pacer, *this, inside);
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
    m_stale = QRect(QPoint(0, 0), m_surface.deviceIndependentSize().toSize());
  }
  if (m_stale.isEmpty()) return;
  QPainter painter(&m_surface);
  const double ratio = m_surface.devicePixelRatio();
  // The face back under the old data, then the data drawn whole: every
  // pixel it sets lies in the stale region.
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (const QRect& rect : m_stale) {
    const QRectF r(rect);
    painter.drawImage(r, m_face, QRectF(r.topLeft() * ratio, r.size() * ratio));
  }
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  const PixelRect legend = m_graph.LegendBox();
  QtCanvas canvas(painter);
  m_graph.DrawData(canvas, m_stale.intersects(ToQRect(legend)));
  ++m_surfacePaints;
  m_lastSurfaceRegion = m_stale;
  m_stale = QRegion();
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
  InvalidateData();
  m_graph.MoveMarker(event->position().toPoint().x());
  m_graph.LayOutData();
  InvalidateData();
  event->accept();
}

void CCcdfGraphCtrl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_dragging) return event->ignore();
  m_dragging = false;
  event->accept();
}

}  // namespace wattrix
