#include "core/graph/GraphRedraw.h"

namespace wattrix {

namespace {

bool Same(const GraphPoint& a, const GraphPoint& b) { return a.x == b.x && a.y == b.y; }

}  // namespace

GraphRedraw::Chrome GraphRedraw::ChromeOf(const CGraph& graph) {
  Chrome c;
  c.area = graph.Area();
  c.fontPixels = graph.FontPixels();
  c.lineHeight = graph.LineHeight();
  c.charWidth = graph.CharWidth();
  c.scheme = graph.ColourScheme();
  c.yMin = graph.YMin();
  c.yMax = graph.YMax();
  c.grid = graph.GridShown();
  c.ticks = graph.TicksShown();
  // Tick marks sit on the zero lines, which follow the x range too.
  if (c.ticks) c.xMin = graph.XMin(), c.xMax = graph.XMax();
  const GraphSettings& s = graph.Settings();
  c.fontFace = graph.FontFace();
  c.title = s.title;
  c.subtitle = s.subtitle;
  c.xLabel = s.xLabel;
  c.yLabel = s.yLabel;
  c.unit = graph.Unit();
  return c;
}

GraphRedraw::Plot GraphRedraw::PlotOf(const CGraph& graph) {
  Plot p;
  p.kind = graph.Settings().kind;
  p.style = graph.Settings().style;
  p.xMin = graph.XMin();
  p.xMax = graph.XMax();
  p.average = graph.AverageShown();
  p.averageValue = p.average ? graph.Average() : 0;
  p.limits = graph.LimitsShown();
  if (p.limits) p.upper = graph.UpperLimit(), p.lower = graph.LowerLimit();
  return p;
}

GraphRedraw::Plan GraphRedraw::Next(const CGraph& graph) const {
  Plan plan;
  plan.endTexts = !m_valid || graph.StartText() != m_startText || graph.EndText() != m_endText;
  // The average's text may stand above the plot area: not restored alone.
  if (!m_valid || graph.AverageShown() || !(ChromeOf(graph) == m_chrome)) {
    plan.step = Step::All;
    plan.endTexts = true;
    return plan;
  }
  const auto points = graph.Settings().points;
  const std::size_t n = points.size();
  if (!(PlotOf(graph) == m_plot) || n < m_count) {
    plan.step = Step::Plot;
    return plan;
  }
  // Earlier points are taken as drawn when the first and the last drawn
  // one are unchanged: a live graph only ever adds points at the end.
  const bool prefix = m_count == 0 || (Same(points[0], m_first) && Same(points[m_count - 1], m_last));
  if (!prefix) {
    plan.step = Step::Plot;
  } else if (n == m_count) {
    plan.step = Step::Nothing;
  } else if (m_count > 0 && graph.Settings().style == graph::kStyleLines && graph.PixelsPerX() >= 1) {
    plan.step = Step::Append;
    plan.appendFrom = m_count;
  } else {
    plan.step = Step::Plot;
  }
  return plan;
}

void GraphRedraw::Drawn(const CGraph& graph) {
  m_valid = true;
  m_chrome = ChromeOf(graph);
  m_plot = PlotOf(graph);
  m_startText = graph.StartText();
  m_endText = graph.EndText();
  const auto points = graph.Settings().points;
  m_count = points.size();
  m_first = m_count ? points.front() : GraphPoint{};
  m_last = m_count ? points.back() : GraphPoint{};
}

}  // namespace wattrix
