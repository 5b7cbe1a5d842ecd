#include "ui/measure/CMeasurementCtrl.h"

#include "core/measure/MeasurementSettings.h"
#include "ui/measure/MouseForwarding.h"
#include "ui/measure/PanelFontMeasure.h"
#include "ui/platform/FontCache.h"
#include "ui/platform/FramePacer.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace wattrix {

namespace {

QColor ToQColor(Argb c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace

CMeasurementCtrl::CMeasurementCtrl(QWidget* parent) : QWidget(parent), m_gauge(this) {
  // The off-screen image covers every pixel: no background erase.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setCursor(Qt::ArrowCursor);
  m_gauge.SetBackground(panel_colour::kBackground);
  LayOut();
}

CMeasurementCtrl::~CMeasurementCtrl() = default;

void CMeasurementCtrl::SetSettings(const MeasurementSettings* settings) { m_settings = settings; }

void CMeasurementCtrl::SetFramePacer(FramePacer* pacer) {
  m_pacer = pacer;
  m_gauge.SetFramePacer(pacer);
}

void CMeasurementCtrl::SetQuantity(wattrix::Quantity quantity) {
  m_quantity = quantity;
  m_gauge.SetUnitText(GaugeUnitText(m_settings ? m_settings->ModelCode() : -1, quantity));
  m_gauge.DialUpdated();
  LayOut();
  RepaintAll();
}

void CMeasurementCtrl::SetLayout(int layout) {
  m_layout = layout;
  LayOut();
  RepaintAll();
}

void CMeasurementCtrl::SetAlarmState(bool on) {
  m_alarm = on;
  const Argb colour = PanelValueColour(m_layout, on);
  // Called for every reading; repaint only when the colour really changes.
  if (m_colours[panel_item::kValue] != colour) {
    m_colours[panel_item::kValue] = colour;
    RequestRepaint(m_pacer, *this, m_itemRects[panel_item::kValue]);
  }
}

void CMeasurementCtrl::SetSelected(bool on) {
  if (m_selected == on) return;
  m_selected = on;
  // Only the one-pixel frame changes.
  const QRect client = rect();
  RequestRepaint(m_pacer, *this, QRegion(client) - client.adjusted(1, 1, -1, -1));
}

void CMeasurementCtrl::Refresh(PanelRefresh kind) {
  if (m_settings == nullptr) return;
  const std::uint32_t changed = m_texts.Refresh(*m_settings, m_quantity, kind, m_gauge.Dial());
  const bool moved = FitTexts(kind == PanelRefresh::Values);
  m_gauge.DialUpdated();
  // A text that moved or changed size leaves pixels anywhere in the panel.
  if (moved) {
    RepaintAll();
  } else {
    RepaintItems(changed);
  }
}

void CMeasurementCtrl::Relayout() {
  LayOut();
  RepaintAll();
}

QRect CMeasurementCtrl::ItemRect(int item) const {
  const PanelItemPlace& place = m_geometry.items[static_cast<std::size_t>(item)];
  const std::string& text = m_texts.Text(item);
  if (place.rect.IsEmpty() || text.empty()) return QRect();
  const QFontMetricsF metrics(FontCache::Instance().Get(place.points));
  const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  // The advance box and the glyphs' ink, which may reach past it.
  const QPointF origin(place.rect.left, place.rect.top);
  QRectF box(origin, QSizeF(metrics.horizontalAdvance(qtext), metrics.height()));
  box |= metrics.boundingRect(qtext).translated(origin.x(), origin.y() + metrics.ascent());
  return box.toAlignedRect().adjusted(-2, -2, 2, 2);
}

void CMeasurementCtrl::RepaintItems(std::uint32_t items) {
  QRegion region;
  for (int i = 0; i < kPanelItemCount; ++i) {
    if (!(items & (1u << i))) continue;
    auto& place = m_itemRects[static_cast<std::size_t>(i)];
    region += place;
    place = ItemRect(i);
    region += place;
  }
  RequestRepaint(m_pacer, *this, region);
}

void CMeasurementCtrl::RepaintAll() {
  for (int i = 0; i < kPanelItemCount; ++i) m_itemRects[static_cast<std::size_t>(i)] = ItemRect(i);
  RequestRepaint(m_pacer, *this, rect());
}

PanelLayoutInput CMeasurementCtrl::LayoutInput() const {
  PanelLayoutInput input;
  input.layout = m_layout;
  input.alarm = m_alarm;
  input.quantity = m_quantity;
  input.relative = m_settings && m_settings->Relative();
  input.limitCheck = m_settings && m_settings->LimitCheck(m_quantity);
  input.clientWidth = width();
  input.clientHeight = height();
  return input;
}

void CMeasurementCtrl::LayOut() {
  FitTexts(false);
  for (std::size_t i = 0; i < m_colours.size(); ++i) m_colours[i] = m_geometry.items[i].colour;
  for (int i = 0; i < kPanelItemCount; ++i) m_itemRects[static_cast<std::size_t>(i)] = ItemRect(i);
}

bool CMeasurementCtrl::FitTexts(bool keepSizes) {
  // The layout table's places at the panel's real size, with every text
  // readable and whole; new readings never make a text grow.
  static const PanelFontMeasure measure;
  const PanelGeometry previous = m_geometry;
  m_geometry = FitPanel(LayoutInput(), m_texts.Texts(), measure, keepSizes ? &previous : nullptr);
  const PanelRect& g = m_geometry.gauge;
  const QRect gauge(g.left, g.top, g.Width(), g.Height());
  if (m_gauge.geometry() != gauge) m_gauge.setGeometry(gauge);
  m_gauge.setVisible(m_geometry.gaugeVisible && !g.IsEmpty());
  bool moved = previous.gauge != m_geometry.gauge || previous.gaugeVisible != m_geometry.gaugeVisible;
  for (std::size_t i = 0; i < m_geometry.items.size() && !moved; ++i)
    moved = previous.items[i].points != m_geometry.items[i].points ||
            previous.items[i].rect != m_geometry.items[i].rect;
  return moved;
}

QSize CMeasurementCtrl::sizeHint() const {
  const PanelLayoutTable& table = PanelLayoutTableOf(m_layout, false);
  return QSize(table.refWidth, table.refHeight);
}

void CMeasurementCtrl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
  const double ratio = devicePixelRatioF();
  const QSize pixels(static_cast<int>(std::ceil(width() * ratio)),
                     static_cast<int>(std::ceil(height() * ratio)));
  if (m_surface.size() != pixels) {
    m_surface = QImage(pixels, QImage::Format_RGB32);
    m_surface.setDevicePixelRatio(ratio);
    m_surfaceStale = true;
  }
  RepaintAll();
}

void CMeasurementCtrl::PaintSurface(const QRegion& region) {
  QPainter painter(&m_surface);
  painter.setClipRegion(region);
  const QRect client(0, 0, width(), height());
  painter.fillRect(client, ToQColor(panel_colour::kBackground));
  painter.setPen(ToQColor(m_selected ? panel_colour::kSelectedFrame : panel_colour::kBackground));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(client.adjusted(0, 0, -1, -1));
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  FontCache& fonts = FontCache::Instance();
  for (std::size_t i = 0; i < kPanelItemCount; ++i) {
    const PanelItemPlace& place = m_geometry.items[i];
    const std::string& text = m_texts.Text(static_cast<int>(i));
    if (place.rect.IsEmpty() || text.empty()) continue;
    if (!region.intersects(m_itemRects[i])) continue;
    const QFont font = fonts.Get(place.points);
    painter.setFont(font);
    painter.setPen(ToQColor(m_colours[i]));
    // The text's top-left corner at the item's; nothing clips or wraps it.
    const double baseline = place.rect.top + QFontMetricsF(font).ascent();
    painter.drawText(QPointF(place.rect.left, baseline),
                     QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
}

void CMeasurementCtrl::paintEvent(QPaintEvent* event) {
  if (m_surface.isNull()) return;
  // Only the region asked for is drawn again and copied; the rest of the
  // surface still matches the screen.
  PaintSurface(m_surfaceStale ? QRegion(rect()) : event->region());
  m_surfaceStale = false;
  QPainter painter(this);
  painter.setClipRegion(event->region());
  painter.drawImage(QPointF(0, 0), m_surface);
}

void CMeasurementCtrl::mousePressEvent(QMouseEvent* event) {
  // Only the forwarded clicks reach the view; others end here.
  ForwardMouseToParent(*this, *event);
  event->accept();
}

void CMeasurementCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  ForwardMouseToParent(*this, *event);
  event->accept();
}

}  // namespace wattrix
