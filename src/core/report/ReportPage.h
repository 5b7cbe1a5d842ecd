#pragma once

#include "core/platform/Canvas.h"
#include "core/report/ReportFields.h"

#include <functional>
#include <string>

namespace wattrix {

class CGraph;

// The one-page measurement report drawn on any canvas: the printable area
// is a 100 × 100 grid (u = width / 100, v = height / 100) holding the
// ruled boxes, the heading, the labelled fields, the three wrapped texts
// and the history graph in the print colours. Texts are measured with the
// canvas, so the page looks the same on every device.
class ReportPage final {
 public:
  // `printable` in device pixels of the canvas.
  ReportPage(Canvas& canvas, const RectF& printable);

  double U() const { return m_u; }
  double V() const { return m_v; }
  // Grid coordinates to device pixels.
  PointF At(double gx, double gy) const;
  RectF Box(double gx0, double gy0, double gx1, double gy1) const;

  // The regular font of labels and values and the heading's bold font.
  Font TextFont() const;
  Font HeadingFont() const;
  // Pen of the ruled boxes.
  Pen RulePen() const;

  void DrawBoxes();
  void DrawHeading();
  void DrawFields(const ReportFields& fields);
  // The graph in the chart area with a 10-point font in scheme 8; the
  // engine's font, scheme, position, size and line width are restored.
  void DrawChart(CGraph& graph);

  // Called between the steps; false stops the page where it is.
  using KeepGoing = std::function<bool()>;
  // All steps; false when stopped. Without a graph the chart area is empty.
  bool Draw(const ReportFields& fields, CGraph* graph, const KeepGoing& keepGoing = {});

 private:
  void DrawLine(double gx0, double gy0, double gx1, double gy1);
  void DrawFrame(double gx0, double gy0, double gx1, double gy1);
  void DrawLabel(const char* label, double gx, double gy);
  // A one-line value from (gx, gy) to grid x `gxEnd`: made smaller, then
  // cut with an ellipsis when it is wider.
  void DrawValue(const std::string& text, double gx, double gy, double gxEnd);
  // Word-wrapped text inside a box, less its inner margins.
  void DrawWrapped(const std::string& text, double gx0, double gy0, double gx1, double gy1);

  Canvas& m_canvas;
  RectF m_printable;
  double m_u;
  double m_v;
};

}  // namespace wattrix
