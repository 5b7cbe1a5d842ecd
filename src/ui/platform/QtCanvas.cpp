#include "ui/platform/QtCanvas.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <algorithm>
#include <cmath>

namespace wattrix {

namespace {

QColor ToQColor(Argb c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c), AlphaOf(c)); }

QRectF ToQRect(const RectF& r) { return QRectF(r.x, r.y, r.width, r.height); }

QString ToQString(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QPolygonF ToQPolygon(std::span<const PointF> points) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const auto& p : points) polygon.append(QPointF(p.x, p.y));
  return polygon;
}

// A linear gradient across the rectangle along the given angle, spanning
// the rectangle's extent in that direction.
QLinearGradient GradientOf(const Brush& brush) {
  const auto& r = brush.gradientRect;
  const double a = brush.angleDegrees * M_PI / 180.0;
  const double dx = std::cos(a), dy = std::sin(a);
  const double half = (std::fabs(r.width * dx) + std::fabs(r.height * dy)) / 2.0;
  const QPointF centre(r.x + r.width / 2.0, r.y + r.height / 2.0);
  QLinearGradient gradient(centre - QPointF(dx * half, dy * half), centre + QPointF(dx * half, dy * half));
  gradient.setColorAt(0, ToQColor(brush.colour));
  gradient.setColorAt(1, ToQColor(brush.colour2));
  return gradient;
}

int AlignmentOf(const TextFormat& format) {
  int flags = 0;
  switch (format.horizontal) {
    case HAlign::Left: flags |= Qt::AlignLeft; break;
    case HAlign::Centre: flags |= Qt::AlignHCenter; break;
    case HAlign::Right: flags |= Qt::AlignRight; break;
  }
  switch (format.vertical) {
    case VAlign::Top: flags |= Qt::AlignTop; break;
    case VAlign::Centre: flags |= Qt::AlignVCenter; break;
    case VAlign::Bottom: flags |= Qt::AlignBottom; break;
  }
  flags |= format.singleLine ? Qt::TextSingleLine : Qt::TextWordWrap;
  if (!format.clip) flags |= Qt::TextDontClip;
  return flags;
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, int dpiY)
    : m_painter(painter),
      m_dpiY(dpiY > 0 ? dpiY : (painter.device() ? painter.device()->logicalDpiY() : 96)) {
  m_painter.setRenderHint(QPainter::Antialiasing, false);
  m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

QFont QtCanvas::ToQFont(const Font& font) {
  QFont f(QString::fromStdString(font.face));
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelHeight))));
  f.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 100, 900)));
  return f;
}

void QtCanvas::SetAntialiasing(bool on) {
  m_antialias = on;
  m_painter.setRenderHint(QPainter::Antialiasing, on);
}

void QtCanvas::UsePen(const Pen& pen) {
  QPen qpen(ToQColor(pen.colour));
  qpen.setWidthF(pen.width);
  m_painter.setPen(qpen);
  m_painter.setBrush(Qt::NoBrush);
}

void QtCanvas::UseBrush(const Brush& brush) {
  m_painter.setPen(Qt::NoPen);
  if (brush.kind == Brush::Kind::LinearGradient) {
    m_painter.setBrush(QBrush(GradientOf(brush)));
  } else {
    m_painter.setBrush(QBrush(ToQColor(brush.colour)));
  }
}

void QtCanvas::DrawLine(PointF from, PointF to, const Pen& pen) {
  UsePen(pen);
  m_painter.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
}

void QtCanvas::DrawPolyline(std::span<const PointF> points, const Pen& pen) {
  if (points.empty()) return;
  UsePen(pen);
  if (points.size() == 1) {
    m_painter.drawPoint(QPointF(points[0].x, points[0].y));
    return;
  }
  m_painter.drawPolyline(ToQPolygon(points));
}

void QtCanvas::FillRect(const RectF& rect, const Brush& brush) {
  UseBrush(brush);
  m_painter.drawRect(ToQRect(rect));
}

void QtCanvas::DrawRect(const RectF& rect, const Pen& pen) {
  UsePen(pen);
  if (m_antialias) {
    const double inset = pen.width / 2.0;
    m_painter.drawRect(QRectF(rect.x + inset, rect.y + inset, rect.width - pen.width, rect.height - pen.width));
  } else {
    // The outline of a one-pixel pen on the area's last column and row.
    m_painter.drawRect(QRectF(rect.x, rect.y, rect.width - 1, rect.height - 1));
  }
}

void QtCanvas::FillEllipse(const RectF& rect, const Brush& brush) {
  UseBrush(brush);
  m_painter.drawEllipse(ToQRect(rect));
}

void QtCanvas::DrawEllipse(const RectF& rect, const Pen& pen) {
  UsePen(pen);
  m_painter.drawEllipse(ToQRect(rect));
}

void QtCanvas::DrawArc(const RectF& rect, double startDegrees, double sweepDegrees, const Pen& pen) {
  UsePen(pen);
  // Qt counts angles counter-clockwise in sixteenths of a degree.
  m_painter.drawArc(ToQRect(rect), static_cast<int>(std::lround(-startDegrees * 16)),
                    static_cast<int>(std::lround(-sweepDegrees * 16)));
}

void QtCanvas::FillPolygon(std::span<const PointF> points, const Brush& brush) {
  UseBrush(brush);
  m_painter.drawPolygon(ToQPolygon(points));
}

void QtCanvas::DrawPolygon(std::span<const PointF> points, const Pen& pen) {
  UsePen(pen);
  m_painter.drawPolygon(ToQPolygon(points));
}

void QtCanvas::DrawText(const std::string& text, PointF topLeft, const Font& font, Argb colour) {
  m_painter.save();
  m_painter.setFont(ToQFont(font));
  m_painter.setPen(ToQColor(colour));
  m_painter.translate(topLeft.x, topLeft.y);
  if (font.angleDegrees != 0) m_painter.rotate(-font.angleDegrees);
  m_painter.drawText(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine,
                     ToQString(text));
  m_painter.restore();
}

void QtCanvas::DrawTextInBox(const std::string& text, const RectF& box, const Font& font, Argb colour,
                             const TextFormat& format) {
  const QFont qfont = ToQFont(font);
  QString shown = ToQString(text);
  if (format.elide && format.singleLine) {
    shown = QFontMetricsF(qfont).elidedText(shown, Qt::ElideRight, box.width);
  }
  m_painter.save();
  m_painter.setFont(qfont);
  m_painter.setPen(ToQColor(colour));
  m_painter.drawText(ToQRect(box), AlignmentOf(format), shown);
  m_painter.restore();
}

SizeF QtCanvas::MeasureText(const std::string& text, const Font& font) {
  const QFontMetricsF metrics(ToQFont(font), m_painter.device());
  const QRectF r = metrics.boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, ToQString(text));
  return SizeF{metrics.horizontalAdvance(ToQString(text)), r.height()};
}

FontMetrics QtCanvas::Metrics(const Font& font) {
  const QFontMetricsF metrics(ToQFont(font), m_painter.device());
  return FontMetrics{metrics.height(), metrics.averageCharWidth(), metrics.ascent()};
}

void QtCanvas::SetClip(const RectF& rect) { m_painter.setClipRect(ToQRect(rect)); }

void QtCanvas::ResetClip() { m_painter.setClipping(false); }

}  // namespace wattrix
