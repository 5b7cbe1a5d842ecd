#include "ui/ccdf/CCcdfGraphCtrl.h"

#include "core/strings/StringTable.h"
#include "ui/platform/QtCanvas.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace wattrix {

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
  m_graph.SetCurve(xFrom, xTo, yFirst, ySecond, curve);
  Redraw();
}

void CCcdfGraphCtrl::Redraw() {
  m_dirty = true;
  update();
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
  }
  Redraw();
}

void CCcdfGraphCtrl::PaintSurface() {
  QPainter painter(&m_surface);
  QtCanvas canvas(painter);
  // The graph's canvas is at least 350 × 300; a smaller window shows its
  // top-left part.
  m_graph.Draw(canvas);
  ++m_surfacePaints;
}

void CCcdfGraphCtrl::paintEvent(QPaintEvent* event) {
  if (m_surface.isNull()) return;
  if (m_dirty) {
    PaintSurface();
    m_dirty = false;
  }
  QPainter painter(this);
  const QRectF r = event->rect();
  const double ratio = m_surface.devicePixelRatio();
  painter.drawImage(r, m_surface, QRectF(r.topLeft() * ratio, r.size() * ratio));
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
  m_graph.MoveMarker(event->position().toPoint().x());
  Redraw();
  event->accept();
}

void CCcdfGraphCtrl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_dragging) return event->ignore();
  m_dragging = false;
  Redraw();
  event->accept();
}

}  // namespace wattrix
