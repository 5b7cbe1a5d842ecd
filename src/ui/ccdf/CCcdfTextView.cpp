#include "ui/ccdf/CCcdfTextView.h"

#include "ui/platform/FontCache.h"
#include "ui/platform/FramePacer.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace wattrix {

namespace {

QColor ToQColor(Argb c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

PanelTextSize MeasureInFont(int points, const std::string& text) {
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
  m_measure = [this](int points, const std::string& text) { return Measure(points, text); };
  m_texts = ComputeTexts();
}

std::vector<std::string> CCcdfTextView::ComputeTexts() const {
  std::vector<std::string> texts;
  texts.reserve(m_items.size());
  const CcdfPanelContext context = m_context();
  for (const auto& [index, item] : m_items) texts.push_back(PanelLineText(m_panel, index, item, context));
  return texts;
}

PanelTextSize CCcdfTextView::Measure(int points, const std::string& text) {
  // Labels never change and values repeat: shaping a text is the dear part.
  auto key = std::make_pair(points, text);
  if (const auto it = m_measured.find(key); it != m_measured.end()) return it->second;
  if (m_measured.size() >= kMeasuredTexts) m_measured.clear();
  const PanelTextSize size = MeasureInFont(points, text);
  m_measured.emplace(std::move(key), size);
  return size;
}

bool CCcdfTextView::Refresh() {
  std::vector<std::string> texts = ComputeTexts();
  if (texts == m_texts) return false;
  const PanelFit before = m_fit;
  const std::vector<std::string> previous = std::exchange(m_texts, std::move(texts));
  // Between two size changes lines only ever get smaller, so that a value
  // growing by a digit does not make the panel's size jump to and fro.
  Refit(m_needed);
  bool moved = before.shrink != m_fit.shrink || before.lines.size() != m_fit.lines.size();
  for (std::size_t i = 0; i < m_fit.lines.size() && !moved; ++i) {
    const PanelFit::Line& a = before.lines[i];
    const PanelFit::Line& b = m_fit.lines[i];
    moved = a.left != b.left || a.top != b.top || a.height != b.height;
  }
  if (moved) {
    Invalidate(rect());
    return true;
  }
  // Only the lines whose text changed, where the old and the new text lie.
  QRegion region;
  for (std::size_t i = 0; i < m_fit.lines.size(); ++i) {
    if (i < previous.size() && i < m_texts.size() && previous[i] == m_texts[i]) continue;
    region += LineBand(before, i);
    region += LineBand(m_fit, i);
  }
  Invalidate(region);
  return true;
}

void CCcdfTextView::SetShrinkFloor(int floor) {
  if (floor == m_floor) return;
  m_floor = floor;
  const int applied = m_fit.shrink;
  Place();
  if (m_fit.shrink != applied) Invalidate(rect());
}

QRect CCcdfTextView::LineBand(const PanelFit& fit, std::size_t i) const {
  if (i >= fit.lines.size()) return QRect();
  const PanelFit::Line& l = fit.lines[i];
  if (l.width <= 0) return QRect();
  // Bold glyphs may reach a little past their advance and line box.
  return QRect(l.left - 3, l.top - 2, l.width + 7, l.height + 4);
}

void CCcdfTextView::Invalidate(const QRegion& region) {
  const QRegion inside = region & rect();
  if (inside.isEmpty()) return;
  m_stale += inside;
  RequestRepaint(m_pacer, *this, inside);
}

void CCcdfTextView::Refit(int from) {
  const int needed = FitPanelLines(m_items, m_texts, width(), height(), from, m_measure).shrink;
  const bool changed = needed != m_needed;
  m_needed = needed;
  Place();
  if (changed) emit NeedChanged();
}

void CCcdfTextView::Place() {
  m_fit = LayOutPanelLines(m_items, m_texts, width(), height(), std::max(m_needed, m_floor), m_measure);
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
  m_stale = QRegion();
  Invalidate(rect());
}

void CCcdfTextView::PaintSurface(const QRegion& region) {
  QPainter painter(&m_surface);
  painter.setClipRegion(region);
  painter.fillRect(region.boundingRect(), ToQColor(kCcdfPanelBackground));
  m_lastSurfaceRegion = region;
  ++m_surfacePaints;
  if (width() <= 0 || height() <= 0) return;
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  FontCache& fonts = FontCache::Instance();
  std::size_t line = 0;
  for (const auto& entry : m_items) {
    const PanelItem& item = entry.second;
    if (line >= m_texts.size() || line >= m_fit.lines.size()) break;
    const std::string& text = m_texts[line];
    const QRect band = LineBand(m_fit, line);
    const PanelFit::Line& place = m_fit.lines[line];
    ++line;
    // Lines outside the region keep their pixels.
    if (text.empty() || !region.intersects(band)) continue;
    const QFont font = fonts.Get(PointsOf(item, m_fit.shrink));
    painter.setFont(font);
    painter.setPen(ToQColor(item.colour));
    painter.drawText(QPointF(place.left, place.top + QFontMetricsF(font).ascent()), ToQString(text));
  }
}

void CCcdfTextView::paintEvent(QPaintEvent* event) {
  if (m_surface.isNull()) return;
  if (!m_stale.isEmpty()) {
    PaintSurface(m_stale);
    m_stale = QRegion();
  }
  QPainter painter(this);
  // Only the exposed part is copied.
  const double ratio = m_surface.devicePixelRatio();
  for (const QRect& rect : event->region()) {
    const QRectF r(rect);
    painter.drawImage(r, m_surface, QRectF(r.topLeft() * ratio, r.size() * ratio));
  }
}

void CCcdfTextView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) emit ContextMenuRequested(event->globalPosition().toPoint());
  event->accept();
}

}  // namespace wattrix
