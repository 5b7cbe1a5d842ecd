#include "core/report/RecordedPage.h"

#include "core/report/StandardFonts.h"

namespace wattrix {

RecordedPage::Op& RecordedPage::Add(Kind kind) {
  m_ops.push_back(Op{});
  m_ops.back().kind = kind;
  return m_ops.back();
}

void RecordedPage::SetAntialiasing(bool on) { Add(Kind::Antialias).on = on; }

void RecordedPage::DrawLine(PointF from, PointF to, const Pen& pen) {
  Op& op = Add(Kind::Line);
  op.points = {from, to};
  op.pen = pen;
}

void RecordedPage::DrawPolyline(std::span<const PointF> points, const Pen& pen) {
  Op& op = Add(Kind::Polyline);
  op.points.assign(points.begin(), points.end());
  op.pen = pen;
}

void RecordedPage::FillRect(const RectF& rect, const Brush& brush) {
  Op& op = Add(Kind::FillRect);
  op.rect = rect;
  op.brush = brush;
}

void RecordedPage::DrawRect(const RectF& rect, const Pen& pen) {
  Op& op = Add(Kind::DrawRect);
  op.rect = rect;
  op.pen = pen;
}

void RecordedPage::FillEllipse(const RectF& rect, const Brush& brush) {
  Op& op = Add(Kind::FillEllipse);
  op.rect = rect;
  op.brush = brush;
}

void RecordedPage::DrawEllipse(const RectF& rect, const Pen& pen) {
  Op& op = Add(Kind::DrawEllipse);
  op.rect = rect;
  op.pen = pen;
}

void RecordedPage::DrawArc(const RectF& rect, double startDegrees, double sweepDegrees, const Pen& pen) {
  Op& op = Add(Kind::Arc);
  op.rect = rect;
  op.start = startDegrees;
  op.sweep = sweepDegrees;
  op.pen = pen;
}

void RecordedPage::FillPolygon(std::span<const PointF> points, const Brush& brush) {
  Op& op = Add(Kind::FillPolygon);
  op.points.assign(points.begin(), points.end());
  op.brush = brush;
}

void RecordedPage::DrawPolygon(std::span<const PointF> points, const Pen& pen) {
  Op& op = Add(Kind::DrawPolygon);
  op.points.assign(points.begin(), points.end());
  op.pen = pen;
}

void RecordedPage::DrawText(const std::string& text, PointF topLeft, const Font& font, Argb colour) {
  Op& op = Add(Kind::Text);
  op.text = text;
  op.points = {topLeft};
  op.font = font;
  op.colour = colour;
}

void RecordedPage::DrawTextInBox(const std::string& text, const RectF& box, const Font& font, Argb colour,
                                 const TextFormat& format) {
  Op& op = Add(Kind::TextInBox);
  op.text = text;
  op.rect = box;
  op.font = font;
  op.colour = colour;
  op.format = format;
}

SizeF RecordedPage::MeasureText(const std::string& text, const Font& font) {
  return StandardTextSize(text, font);
}

FontMetrics RecordedPage::Metrics(const Font& font) { return StandardFontMetrics(font); }

void RecordedPage::SetClip(const RectF& rect) { Add(Kind::Clip).rect = rect; }

void RecordedPage::ResetClip() { Add(Kind::ResetClip); }

void RecordedPage::Replay(Canvas& target) const {
  for (const Op& op : m_ops) {
    switch (op.kind) {
      case Kind::Antialias:
        target.SetAntialiasing(op.on);
        break;
      case Kind::Line:
        target.DrawLine(op.points[0], op.points[1], op.pen);
        break;
      case Kind::Polyline:
        target.DrawPolyline(op.points, op.pen);
        break;
      case Kind::FillRect:
        target.FillRect(op.rect, op.brush);
        break;
      case Kind::DrawRect:
        target.DrawRect(op.rect, op.pen);
        break;
      case Kind::FillEllipse:
        target.FillEllipse(op.rect, op.brush);
        break;
      case Kind::DrawEllipse:
        target.DrawEllipse(op.rect, op.pen);
        break;
      case Kind::Arc:
        target.DrawArc(op.rect, op.start, op.sweep, op.pen);
        break;
      case Kind::FillPolygon:
        target.FillPolygon(op.points, op.brush);
        break;
      case Kind::DrawPolygon:
        target.DrawPolygon(op.points, op.pen);
        break;
      case Kind::Text:
        target.DrawText(op.text, op.points[0], op.font, op.colour);
        break;
      case Kind::TextInBox:
        target.DrawTextInBox(op.text, op.rect, op.font, op.colour, op.format);
        break;
      case Kind::Clip:
        target.SetClip(op.rect);
        break;
      case Kind::ResetClip:
        target.ResetClip();
        break;
    }
  }
}

}  // namespace wattrix
