#pragma once

#include "core/platform/Canvas.h"

#include <string>

namespace wattrix {

// The drawing interface writing a PDF page's content stream. Coordinates
// are device pixels of `dpi` per inch from the top-left corner of the
// drawing area, y growing downwards, as on a printer. Text is set in the
// standard fonts of PdfDocument and measured with their widths, so it
// needs no window system; characters outside the Windows Latin-1 set are
// written as '?'.
class PdfCanvas final : public Canvas {
 public:
  // The drawing area's top-left corner on the page, in points from the
  // page's left and top edges.
  PdfCanvas(int dpi, double leftPoints, double topPoints, double pageHeightPoints);

  // The content stream so far (complete: every state saved is restored).
  std::string Content() const;

  int DpiY() const override { return m_dpi; }
  void SetAntialiasing(bool) override {}
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

 private:
  void Stroke(const Pen& pen);
  void Fill(const Brush& brush);
  void Point(const char* op, double x, double y);
  void EllipsePath(const RectF& rect);
  void ArcPath(const RectF& rect, double startDegrees, double sweepDegrees);

  int m_dpi;
  std::string m_start;
  std::string m_body;
  bool m_clipped = false;
};

}  // namespace wattrix
