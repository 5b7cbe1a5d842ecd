#include "support/RecordingCanvas.h"

namespace wattrix::test {

RecordingCanvas::Primitive& RecordingCanvas::Add(Op op) {
  m_primitives.push_back(Primitive{});
  auto& p = m_primitives.back();
  p.op = op;
  p.antialiased = m_antialias;
  return p;
}

void RecordingCanvas::DrawLine(PointF from, PointF to, const Pen& pen) {
  auto& p = Add(Op::Line);
  p.points = {from, to};
  p.pen = pen;
}

void RecordingCanvas::DrawPolyline(std::span<const PointF> points, const Pen& pen) {
  auto& p = Add(Op::Polyline);
  p.points.assign(points.begin(), points.end());
  p.pen = pen;
}

void RecordingCanvas::FillRect(const RectF& rect, const Brush& brush) {
  auto& p = Add(Op::FillRect);
  p.rect = rect;
  p.brush = brush;
}

void RecordingCanvas::DrawRect(const RectF& rect, const Pen& pen) {
  auto& p = Add(Op::DrawRect);
  p.rect = rect;
  p.pen = pen;
}

void RecordingCanvas::FillEllipse(const RectF& rect, const Brush& brush) {
  auto& p = Add(Op::FillEllipse);
  p.rect = rect;
  p.brush = brush;
}

void RecordingCanvas::DrawEllipse(const RectF& rect, const Pen& pen) {
  auto& p = Add(Op::DrawEllipse);
  p.rect = rect;
  p.pen = pen;
}

void RecordingCanvas::DrawArc(const RectF& rect, double startDegrees, double sweepDegrees, const Pen& pen) {
  auto& p = Add(Op::Arc);
  p.rect = rect;
  p.startDegrees = startDegrees;
  p.sweepDegrees = sweepDegrees;
  p.pen = pen;
}

void RecordingCanvas::FillPolygon(std::span<const PointF> points, const Brush& brush) {
  auto& p = Add(Op::FillPolygon);
  p.points.assign(points.begin(), points.end());
  p.brush = brush;
}

void RecordingCanvas::DrawPolygon(std::span<const PointF> points, const Pen& pen) {
  auto& p = Add(Op::DrawPolygon);
  p.points.assign(points.begin(), points.end());
  p.pen = pen;
}

void RecordingCanvas::DrawText(const std::string& text, PointF topLeft, const Font& font, Argb colour) {
  auto& p = Add(Op::Text);
  p.text = text;
  p.points = {topLeft};
  p.font = font;
  p.colour = colour;
}

void RecordingCanvas::DrawTextInBox(const std::string& text, const RectF& box, const Font& font, Argb colour,
                                    const TextFormat& format) {
  auto& p = Add(Op::TextInBox);
  p.text = text;
  p.rect = box;
  p.font = font;
  p.colour = colour;
  p.format = format;
}

SizeF RecordingCanvas::MeasureText(const std::string& text, const Font& font) {
  return SizeF{0.5 * font.pixelHeight * static_cast<double>(text.size()), 1.2 * font.pixelHeight};
}

FontMetrics RecordingCanvas::Metrics(const Font& font) {
  return FontMetrics{1.2 * font.pixelHeight, 0.5 * font.pixelHeight, font.pixelHeight};
}

void RecordingCanvas::SetClip(const RectF& rect) {
  auto& p = Add(Op::Clip);
  p.rect = rect;
}

void RecordingCanvas::ResetClip() { Add(Op::ResetClip); }

std::vector<const RecordingCanvas::Primitive*> RecordingCanvas::OfKind(Op op) const {
  std::vector<const Primitive*> out;
  for (const auto& p : m_primitives) {
    if (p.op == op) out.push_back(&p);
  }
  return out;
}

std::vector<std::string> RecordingCanvas::Texts() const {
  std::vector<std::string> out;
  for (const auto& p : m_primitives) {
    if (p.op == Op::Text || p.op == Op::TextInBox) out.push_back(p.text);
  }
  return out;
}

const RecordingCanvas::Primitive* RecordingCanvas::FindText(const std::string& text) const {
  for (const auto& p : m_primitives) {
    if ((p.op == Op::Text || p.op == Op::TextInBox) && p.text == text) return &p;
  }
  return nullptr;
}

}  // namespace wattrix::test
