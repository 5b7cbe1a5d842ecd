#include "ui/graph/CGraphCtrl.h"

#include "core/history/HistoryDocument.h"
#include "ui/platform/FramePacer.h"
#include "ui/platform/QtCanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
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

void CGraphCtrl::ShowQuantity(int modelCode, Quantity quantity, bool returnLoss) {
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
  if (resetWindow) m_redraw.Invalidate();
  RepaintChanges();
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
  m_redraw.Invalidate();
  RepaintChanges();
}

void CGraphCtrl::EnsureBuffer() {
  const qreal ratio = devicePixelRatioF();
  const QSize logical(std::max(kMinBufferSize, width()), std::max(kMinBufferSize, height()));
  const QSize device = logical * ratio;
  if (m_buffer.size() == device && m_buffer.devicePixelRatioF() == ratio) return;
  m_buffer = QImage(device, QImage::Format_RGB32);
  m_buffer.setDevicePixelRatio(ratio);
  m_chrome = QImage(device, QImage::Format_RGB32);
  m_chrome.setDevicePixelRatio(ratio);
  m_redraw.Invalidate();
  m_fontCurrent = false;  // the screen may have changed
}

namespace {

QRect ToQRect(const PixelRect& r) { return QRect(r.left, r.top, r.width, r.height); }

}  // namespace

QRegion CGraphCtrl::PlanRegion(const GraphRedraw::Plan& plan) const {
  const CGraph& graph = Graph();
  QRegion region;
  switch (plan.step) {
    case GraphRedraw::Step::All:
      return QRegion(rect());
    case GraphRedraw::Step::Plot:
      // The frame's right and bottom lines too, where clamped data lies.
      region += ToQRect(graph.PlotArea()).adjusted(-1, -1, 2, 2);
      break;
    case GraphRedraw::Step::Append:
      region += ToQRect(graph.AppendBounds(plan.appendFrom));
      break;
    case GraphRedraw::Step::Nothing:
      break;
  }
  if (plan.endTexts) {
    const RectF row = graph.EndTextRow();
    region += QRectF(row.x, row.y, row.width, row.height).toAlignedRect();
  }
  return region;
}

void CGraphCtrl::RepaintChanges() {
  // A hidden graph is brought up to date by the paint that shows it.
  if (!isVisible()) return;
  m_feeder.Resize(width(), height());
  RequestRepaint(m_pacer, *this, PlanRegion(m_redraw.Next(Graph())));
}

void CGraphCtrl::CopyFromChrome(QPainter& painter, const QRect& rect) const {
  const qreal ratio = m_chrome.devicePixelRatioF();
  const QRectF source(rect.x() * ratio, rect.y() * ratio, rect.width() * ratio, rect.height() * ratio);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QRectF(rect), m_chrome, source);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void CGraphCtrl::DrawChanges() {
  m_feeder.Resize(width(), height());
  const GraphRedraw::Plan plan = m_redraw.Next(Graph());
  CGraph& graph = Graph();
  if (plan.step == GraphRedraw::Step::All) {
    {
      QPainter painter(&m_chrome);
      QtCanvas canvas(painter, logicalDpiY());
      graph.DrawChrome(canvas);  // fills at least the whole image
    }
    m_buffer = m_chrome.copy();
    m_buffer.setDevicePixelRatio(m_chrome.devicePixelRatioF());
    m_fontCurrent = true;
  }
  QPainter painter(&m_buffer);
  QtCanvas canvas(painter, logicalDpiY());
  if (plan.endTexts) {
    const RectF row = graph.EndTextRow();
    if (plan.step != GraphRedraw::Step::All)
      CopyFromChrome(painter, QRectF(row.x, row.y, row.width, row.height).toAlignedRect());
    graph.DrawEndTexts(canvas);
  }
  switch (plan.step) {
    case GraphRedraw::Step::All:
      graph.DrawPlot(canvas);
      break;
    case GraphRedraw::Step::Plot:
      CopyFromChrome(painter, ToQRect(graph.PlotArea()).adjusted(-1, -1, 2, 2));
      graph.DrawPlot(canvas);
      break;
    case GraphRedraw::Step::Append:
      CopyFromChrome(painter, ToQRect(graph.AppendBounds(plan.appendFrom)));
      graph.DrawAppended(canvas, plan.appendFrom);
      break;
    case GraphRedraw::Step::Nothing:
      break;
  }
  m_redraw.Drawn(graph);
}

void CGraphCtrl::paintEvent(QPaintEvent* event) {
  EnsureBuffer();
  m_feeder.Resize(width(), height());
  // Whatever changed without being asked for through RepaintChanges is
  // repainted too.
  const QRegion missing = PlanRegion(m_redraw.Next(Graph())) - event->region();
  DrawChanges();
  if (!missing.isEmpty()) update(missing);
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), m_buffer);  // within the paint region only
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
