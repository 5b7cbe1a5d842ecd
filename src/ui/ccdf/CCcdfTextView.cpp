#include "ui/ccdf/CCcdfTextView.h"

#include "ui/platform/FontCache.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace wattrix {

namespace {

QColor ToQColor(Argb c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

PanelTextSize MeasureInCache(int points, const std::string& text) {
  const QFontMetrics metrics(FontCache::Instance().Get(points));
  return PanelTextSize{text.empty() ? 0 : metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

int PointsOf(const PanelItem& item, int shrink) {
  return std::max(std::min(item.pointSize, kMinPanelPoints), item.pointSize - shrink);
}

}  // namespace

CCcdfTextView::CCcdfTextView(CcdfPanel panel, const PanelItems& items, ContextSource context, QWidget* parent)
    : QWidget(parent), m_panel(panel), m_items(items), m_context(std::move(context)) {
  // The image covers every pixel: no background erase.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setCursor(Qt::ArrowCursor);
  setMinimumSize(0, 0);
  m_texts = ComputeTexts();
}

std::vector<std::string> CCcdfTextView::ComputeTexts() const {
  std::vector<std::string> texts;
  texts.reserve(m_items.size());
  const CcdfPanelContext context = m_context();
  for (const auto& [index, item] : m_items) texts.push_back(PanelLineText(m_panel, index, item, context));
  return texts;
}

bool CCcdfTextView::Refresh() {
  std::vector<std::string> texts = ComputeTexts();
  if (texts == m_texts) return false;
  m_texts = std::move(texts);
  // Between two size changes lines only ever get smaller, so that a value
  // growing by a digit does not make the panel's size jump to and fro.
  Refit(m_needed);
  m_dirty = true;
  update();
  return true;
}

void CCcdfTextView::SetShrinkFloor(int floor) {
  if (floor == m_floor) return;
  m_floor = floor;
  const int applied = m_fit.shrink;
  Place();
  if (m_fit.shrink != applied) {
    m_dirty = true;
    update();
  }
}

void CCcdfTextView::Refit(int from) {
  const int needed = FitPanelLines(m_items, m_texts, width(), height(), from, &MeasureInCache).shrink;
  const bool changed = needed != m_needed;
  m_needed = needed;
  Place();
  if (changed) emit NeedChanged();
}

void CCcdfTextView::Place() {
  m_fit = LayOutPanelLines(m_items, m_texts, width(), height(), std::max(m_needed, m_floor), &MeasureInCache);
}

void CCcdfTextView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const double ratio = devicePixelRatioF();
  // At least 300 × 200, so that small sizes do not re-make it on every step.
  const QSize pixels(static_cast<int>(std::ceil(std::max(width(), 300) * ratio)),
                     static_cast<int>(std::ceil(std::max(height(), 200) * ratio)));
  if (m_surface.size() != pixels) {
    m_surface = QImage(pixels, QImage::Format_RGB32);
    m_surface.setDevicePixelRatio(ratio);
  }
  Refit(0);
  m_dirty = true;
  update();
}

void CCcdfTextView::PaintSurface() {
  QPainter painter(&m_surface);
  painter.fillRect(QRect(0, 0, width(), height()), ToQColor(kCcdfPanelBackground));
  if (width() <= 0 || height() <= 0) return;
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  FontCache& fonts = FontCache::Instance();
  std::size_t line = 0;
  for (const auto& entry : m_items) {
    const PanelItem& item = entry.second;
    if (line >= m_texts.size() || line >= m_fit.lines.size()) break;
    const std::string& text = m_texts[line];
    const PanelFit::Line& place = m_fit.lines[line];
    ++line;
    if (text.empty()) continue;
    const QFont font = fonts.Get(PointsOf(item, m_fit.shrink));
    painter.setFont(font);
    painter.setPen(ToQColor(item.colour));
    painter.drawText(QPointF(place.left, place.top + QFontMetricsF(font).ascent()), ToQString(text));
  }
  ++m_surfacePaints;
}

void CCcdfTextView::paintEvent(QPaintEvent* event) {
  if (m_surface.isNull()) return;
  if (m_dirty) {
    PaintSurface();
    m_dirty = false;
  }
  QPainter painter(this);
  // Only the exposed part is copied.
  const QRectF r = event->rect();
  const double ratio = m_surface.devicePixelRatio();
  painter.drawImage(r, m_surface, QRectF(r.topLeft() * ratio, r.size() * ratio));
}

void CCcdfTextView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) emit ContextMenuRequested(event->globalPosition().toPoint());
  event->accept();
}

}  // namespace wattrix
