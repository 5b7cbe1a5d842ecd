#pragma once

#include "core/platform/Canvas.h"

class QPainter;
class QFont;

namespace wattrix {

// The core drawing interface on a QPainter (screen, off-screen image or
// printer).
class QtCanvas final : public Canvas {
 public:
  // `dpiY` 0 takes the painter device's logical vertical resolution.
  explicit QtCanvas(QPainter& painter, int dpiY = 0);

  int DpiY() const override { return m_dpiY; }
  void SetAntialiasing(bool on) override;
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

  static QFont ToQFont(const Font& font);

 private:
  void UsePen(const Pen& pen);
  void UseBrush(const Brush& brush);

  QPainter& m_painter;
  int m_dpiY;
  bool m_antialias = false;
};

}  // namespace wattrix
