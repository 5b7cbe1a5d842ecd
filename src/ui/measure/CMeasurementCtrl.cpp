#include "ui/measure/CMeasurementCtrl.h"

#include "core/measure/MeasurementSettings.h"
#include "ui/measure/MouseForwarding.h"
#include "ui/measure/PanelFontMeasure.h"
#include "ui/platform/FontCache.h"

#include <QFontMetricsF>
#include <QMouseEvent>
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

void CMeasurementCtrl::SetQuantity(int quantity) {
  m_quantity = quantity;
  m_gauge.SetUnitText(GaugeUnitText(m_settings ? m_settings->ModelCode() : -1, quantity));
  LayOut();
  update();
}

void CMeasurementCtrl::SetLayout(int layout) {
  m_layout = layout;
  LayOut();
  update();
}

void CMeasurementCtrl::SetAlarmState(bool on) {
  m_alarm = on;
  const Argb colour = PanelValueColour(m_layout, on);
  // Called for every reading; repaint only when the colour really changes.
  if (m_colours[panel_item::kValue] != colour) {
    m_colours[panel_item::kValue] = colour;
    update();
  }
}

void CMeasurementCtrl::SetSelected(bool on) {
  m_selected = on;
  update();
}

void CMeasurementCtrl::Refresh(PanelRefresh kind) {
  if (m_settings == nullptr) return;
  m_texts.Refresh(*m_settings, m_quantity, kind, m_gauge.Dial());
  FitTexts(kind == PanelRefresh::Values);
  m_gauge.update();
  update();
}

void CMeasurementCtrl::Relayout() {
  LayOut();
  update();
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
  }
  update();
}

void CMeasurementCtrl::PaintSurface() {
  QPainter painter(&m_surface);
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
    const QFont font = fonts.Get(place.points);
    painter.setFont(font);
    painter.setPen(ToQColor(m_colours[i]));
    // The text's top-left corner at the item's; nothing clips or wraps it.
    const double baseline = place.rect.top + QFontMetricsF(font).ascent();
    painter.drawText(QPointF(place.rect.left, baseline),
                     QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
}

void CMeasurementCtrl::paintEvent(QPaintEvent* /*event*/) {
  if (m_surface.isNull()) return;
  PaintSurface();
  QPainter painter(this);
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
