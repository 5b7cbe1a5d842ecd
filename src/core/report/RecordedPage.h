#pragma once

#include "core/platform/Canvas.h"

#include <string>
#include <vector>

namespace wattrix {

// A page drawn once and played back later on another canvas: a report is
// laid out on a worker thread into a RecordedPage, and the thread that owns
// the printer plays it back. Text is measured with the standard font
// widths (StandardFonts.h), the same the PDF writer uses, so the layout
// does not depend on the device it ends on.
class RecordedPage final : public Canvas {
 public:
  explicit RecordedPage(int dpi) : m_dpi(dpi) {}

  // Draws everything recorded, in order, on target.
  void Replay(Canvas& target) const;
  std::size_t Size() const { return m_ops.size(); }

  int DpiY() const override { return m_dpi; }
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

 private:
  enum class Kind {
    Antialias,
    Line,
    Polyline,
    FillRect,
    DrawRect,
    FillEllipse,
    DrawEllipse,
    Arc,
    FillPolygon,
    DrawPolygon,
    Text,
    TextInBox,
    Clip,
    ResetClip
  };
  struct Op {
    Kind kind;
    std::vector<PointF> points;
    RectF rect{};
    Pen pen{};
    Brush brush{};
    double start = 0;
    double sweep = 0;
    std::string text;
    Font font{};
    Argb colour = 0;
    TextFormat format{};
    bool on = false;
  };
  Op& Add(Kind kind);

  int m_dpi;
  std::vector<Op> m_ops;
};

}  // namespace wattrix
