#include "ui/graph/CGraphCtrl.h"

#include "core/history/HistoryDocument.h"
#include "ui/platform/QtCanvas.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace wattrix {

CGraphCtrl::CGraphCtrl(QWidget* parent) : QWidget(parent) {
  // The off-screen image covers every pixel, so nothing is erased first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
  setCursor(Qt::ArrowCursor);
  m_feeder.Resize(width(), height());
}

CGraphCtrl::~CGraphCtrl() = default;

void CGraphCtrl::ShowQuantity(int modelCode, int quantity, bool returnLoss) {
  m_feeder.ShowQuantity(modelCode, quantity, returnLoss);
  Redraw();
}

bool CGraphCtrl::SetHistory(int modelCode, const HistoryHeader* header, std::span<const std::int32_t> points,
                            std::size_t count, bool returnLoss) {
  const bool taken = m_feeder.SetHistory(modelCode, header, points, count, returnLoss);
  Redraw();
  return taken;
}

bool CGraphCtrl::ShowDocument(const HistoryDocument& document) {
  const bool taken = m_feeder.ShowDocument(document);
  Redraw();
  return taken;
}

void CGraphCtrl::AttachLive(MeasurementSettings* settings) {
  m_feeder.AttachLive(settings);
  m_live = settings != nullptr;
  if (m_live) UpdateLive(true);
  Redraw();
}

void CGraphCtrl::UpdateLive(bool resetWindow) {
  if (!m_live) return;
  m_feeder.Resize(width(), height());
  // The plot width depends on the font's metrics, which the engine takes
  // from a canvas; after the first paint they are current.
  if (resetWindow || !m_fontCurrent) UpdateFont();
  const bool widthChanged = Graph().PlotArea().width != m_feeder.LiveWindowWidth();
  m_feeder.UpdateLive(resetWindow || widthChanged);
  Redraw();
}

void CGraphCtrl::UpdateFont() {
  EnsureBuffer();
  QPainter painter(&m_buffer);
  QtCanvas canvas(painter, logicalDpiY());
  Graph().UpdateFont(canvas);
  m_fontCurrent = true;
}

void CGraphCtrl::RenderTo(QImage& image) {
  if (image.isNull()) return;
  QPainter painter(&image);
  QtCanvas canvas(painter, logicalDpiY());
  m_feeder.RenderTo(canvas);
}

QImage CGraphCtrl::RenderClient() {
  m_feeder.Resize(width(), height());
  QImage image(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
  RenderTo(image);
  return image;
}

void CGraphCtrl::Redraw() {
  m_dirty = true;
  update();
}

void CGraphCtrl::EnsureBuffer() {
  const qreal ratio = devicePixelRatioF();
  const QSize logical(std::max(kMinBufferSize, width()), std::max(kMinBufferSize, height()));
  const QSize device = logical * ratio;
  if (m_buffer.size() == device && m_buffer.devicePixelRatioF() == ratio) return;
  m_buffer = QImage(device, QImage::Format_RGB32);
  m_buffer.setDevicePixelRatio(ratio);
  m_dirty = true;
  m_fontCurrent = false;  // the screen may have changed
}

void CGraphCtrl::DrawBuffer() {
  m_feeder.Resize(width(), height());
  QPainter painter(&m_buffer);
  QtCanvas canvas(painter, logicalDpiY());
  m_feeder.RenderTo(canvas);  // the engine fills at least the whole image
  m_dirty = false;
  m_fontCurrent = true;
}

void CGraphCtrl::paintEvent(QPaintEvent*) {
  EnsureBuffer();
  if (m_dirty) DrawBuffer();
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), m_buffer);
}

void CGraphCtrl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_feeder.Resize(width(), height());
  EnsureBuffer();
  if (m_live) {
    UpdateLive(true);
  } else {
    Redraw();
  }
}

void CGraphCtrl::mousePressEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const QPoint pos = event->position().toPoint();
  emit Pressed(button, parentWidget() ? mapToParent(pos) : pos);
  event->accept();
}

}  // namespace wattrix
