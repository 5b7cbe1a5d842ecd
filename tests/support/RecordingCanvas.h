#pragma once

#include "core/platform/Canvas.h"

#include <string>
#include <vector>

namespace wattrix::test {

// A canvas that keeps every primitive in drawing order, so that tests can
// check what an engine drew. Text is measured with a fixed-pitch model:
// each character is 0.5 × the pixel height wide, a line 1.2 × it high.
class RecordingCanvas final : public Canvas {
 public:
  enum class Op {
    Line, Polyline, FillRect, DrawRect, FillEllipse, DrawEllipse, Arc, FillPolygon, DrawPolygon,
    Text, TextInBox, Clip, ResetClip
  };
  struct Primitive {
    Op op;
    std::vector<PointF> points;  // line ends, polyline/polygon points
    RectF rect{};                // rects, ellipses, arcs, text boxes, clip
    Pen pen{};
    Brush brush{};
    double startDegrees = 0;
    double sweepDegrees = 0;
    std::string text;
    Font font{};
    Argb colour = 0;
    TextFormat format{};
    bool antialiased = false;
  };

  explicit RecordingCanvas(int dpi = 96) : m_dpi(dpi) {}

  int DpiY() const override { return m_dpi; }
  void SetAntialiasing(bool on) override { m_antialias = on; }
  void DrawLine(PointF from, PointF to, const Pen& pen) override;
  void DrawPolyline(std::span<const PointF> points, const Pen& pen) override;
  void FillRect(const RectF& rect, const Brush& brush) override;
  void DrawRect(const RectF& rect, const Pen& pen) override;
  void FillEllipse(const RectF& rect, const Brush& brush) override;
  void DrawEllipse(const RectF& rect, const Pen& pen) override;
  void DrawArc(const RectF& rect, double startDegrees, double sweepDegrees, const Pen& pen) override;
  void FillPolygon(std::span<const PointF> points, const Brush& brush) override;
  void DrawPolygon(std::span<const PointF> points, const Pen& pen) override;
  void DrawText(const std::string& text, PointF topLeft, const Font& font, Argb colour) override;
  void DrawTextInBox(const std::string& text, const RectF& box, const Font& font, Argb colour,
                     const TextFormat& format) override;
  SizeF MeasureText(const std::string& text, const Font& font) override;
  FontMetrics Metrics(const Font& font) override;
  void SetClip(const RectF& rect) override;
  void ResetClip() override;

  const std::vector<Primitive>& Primitives() const { return m_primitives; }
  std::vector<const Primitive*> OfKind(Op op) const;
  // All texts drawn, in order (both text operations).
  std::vector<std::string> Texts() const;
  // The first text primitive whose text equals `text`, or null.
  const Primitive* FindText(const std::string& text) const;
  void Clear() { m_primitives.clear(); }

 private:
  Primitive& Add(Op op);
  int m_dpi;
  bool m_antialias = false;
  std::vector<Primitive> m_primitives;
};

}  // namespace wattrix::test
