#include "core/ccdf/CCcdfGraph.h"

#include "core/ccdf/ReferenceCurve.h"
#include "core/platform/NumberText.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace wattrix {

namespace {

constexpr int kPlotTypeCount = 12;
constexpr int kLineStyleCount = 4;
constexpr int kMarkerReach = 100;  // pixels within which a drag finds a point

RectF ToRectF(const PixelRect& r) {
  return RectF{double(r.left), double(r.top), double(r.width), double(r.height)};
}

PixelRect FromEdges(int left, int top, int right, int bottom) {
  return PixelRect{left, top, right - left, bottom - top};
}

// Whole pixels, held within any device so that the conversion is defined.
int ToPixel(float v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -1e9f, 1e9f));
}

void DrawJoined(Canvas& canvas, const std::vector<PointF>& points, Argb colour) {
  const Pen pen{colour, 1.0};
  if (points.size() == 1) {
    canvas.DrawLine(points[0], points[0], pen);  // the first point is joined to itself
  } else if (points.size() > 1) {
    canvas.DrawPolyline(points, pen);
  }
}

PointF ToPointF(PixelPoint p) { return PointF{double(p.x), double(p.y)}; }

}  // namespace

CcdfColourScheme CcdfColourScheme::ForNumber(int scheme) {
  if (scheme == 8) {
    const Argb black = MakeRgb(0, 0, 0);
    return CcdfColourScheme{MakeRgb(255, 255, 255), black, black, black, black, black, black};
  }
  const Argb grey = MakeRgb(210, 210, 210);
  return CcdfColourScheme{MakeRgb(28, 60, 114), grey, grey, grey, grey, grey, MakeRgb(255, 255, 0)};
}

CCcdfGraph::CCcdfGraph(int x, int y, int width, int height, int scheme)
    : m_colours(CcdfColourScheme::ForNumber(scheme)), m_reference(ReferenceCurve::Build()) {
  SetCanvas(x, y, width, height);
  SetXRange(0, 20);
  SetYRange(-5, 0);
}

void CCcdfGraph::SetCanvas(int x, int y, int width, int height) {
  if (x >= 0) m_x = x;
  if (y >= 0) m_y = y;
  if (width > 0) m_width = std::max(width, kMinWidth);
  if (height > 0) m_height = std::max(height, kMinHeight);
  RecomputeScales();
}

void CCcdfGraph::SetXRange(float a, float b) {
  if (!std::isfinite(a) || !std::isfinite(b)) return;
  if (a > b) std::swap(a, b);
  if (a == b) b += 0.1f;
  m_xMin = a;
  m_xMax = b;
  RecomputeScales();
}

void CCcdfGraph::SetYRange(float a, float b) {
  if (!std::isfinite(a) || !std::isfinite(b)) return;
  if (a > b) std::swap(a, b);
  if (a == b) b += 0.1f;
  m_yMin = a;
  m_yMax = b;
  RecomputeScales();
}

void CCcdfGraph::RecomputeScales() {
  const PixelRect plot = PlotRect();
  m_xScale = m_scaleOn ? static_cast<float>(plot.width) / (m_xMax - m_xMin) : 1.0f;
  m_yScale = m_scaleOn ? static_cast<float>(plot.height) / (m_yMax - m_yMin) : 1.0f;
}

bool CCcdfGraph::SetGraphData(GraphData data) {
  if (data.plotType >= kPlotTypeCount || data.lineStyle >= kLineStyleCount) return false;
  if (data.plotType == GraphData::kPairs && data.PointCount() == 0) return false;
  m_title = data.title;
  m_markerText = data.markerText;
  m_yAxisTitle = data.yAxisTitle;
  m_xAxisTitle = data.xAxisTitle;
  const float xFrom = data.xFrom, xTo = data.xTo, yFirst = data.yFirst, ySecond = data.ySecond;
  m_data = std::move(data);
  SetXRange(xFrom, xTo);
  SetYRange(yFirst, ySecond);
  return true;
}

void CCcdfGraph::SetCurve(float xFrom, float xTo, float yFirst, float ySecond,
                          std::span<const CcdfPoint> curve) {
  std::vector<float> points;
  try {
    points.reserve(2 * curve.size());
  } catch (const std::bad_alloc&) {
    return;
  }
  for (const auto& p : curve) {
    points.push_back(p.relativePower);
    points.push_back(p.logProbability);
  }
  if (m_markerIndex == -1) m_markerIndex = 0;

  if (points.empty()) {
    // Refused as new data; the graph keeps its ranges and texts but shows
    // neither a curve nor a marker text.
    if (m_data) {
      m_data->points.clear();
      m_data->markerText.clear();
    }
    m_markerText.clear();
    return;
  }

  GraphData data;
  data.plotType = GraphData::kPairs;
  data.lineStyle = 1;
  data.xFrom = xFrom;
  data.xTo = xTo;
  data.yFirst = yFirst;
  data.ySecond = ySecond;
  data.title = kTitle;
  data.xAxisTitle = kXAxisTitle;
  data.points = std::move(points);
  if (!SetGraphData(std::move(data))) return;

  // A shorter curve than the marked drawing index: mark its last drawn
  // point rather than nothing.
  const int drawable = static_cast<int>(DrawableIndices().size());
  if (drawable > 0 && m_markerIndex >= drawable) m_markerIndex = drawable - 1;
  m_markerText = MarkerTextForCurrentData();
  m_data->markerText = m_markerText;
}

std::vector<int> CCcdfGraph::DrawableIndices() const {
  std::vector<int> indices;
  if (!m_data) return indices;
  const auto& pts = m_data->points;
  for (int i = 0; i < m_data->PointCount(); ++i) {
    if (InXRange(pts[2 * i])) indices.push_back(i);
  }
  return indices;
}

int CCcdfGraph::MarkedPointIndex() const {
  // The text describes the point the triangle marks: drawing indices skip
  // points outside the x range, so they are mapped back to the data; −1
  // marks the first drawn point, as the triangle does.
  const auto indices = DrawableIndices();
  if (indices.empty()) return -1;
  const int drawing = std::clamp(m_markerIndex, 0, static_cast<int>(indices.size()) - 1);
  return indices[drawing];
}

std::string CCcdfGraph::FormatMarkerText(float x, float y) {
  return FormatC("Marker : %.2f dB, %.3f %%", static_cast<double>(x),
                 std::pow(10.0, static_cast<double>(y)) * 100.0);
}

std::string CCcdfGraph::MarkerTextForCurrentData() const {
  const int i = MarkedPointIndex();
  if (i < 0) return {};
  return FormatMarkerText(m_data->points[2 * i], m_data->points[2 * i + 1]);
}

void CCcdfGraph::MoveMarker(int pointerX) {
  int best = kMarkerReach;
  int found = -1;
  for (int i = 0; i < static_cast<int>(m_drawn.size()); ++i) {
    const int distance = std::abs(m_drawn[i].x - pointerX);
    if (distance < best) {
      best = distance;
      found = i;
    }
  }
  m_markerIndex = found;
  m_markerText = MarkerTextForCurrentData();
  if (m_data) m_data->markerText = m_markerText;
}

bool CCcdfGraph::MarkerBoxContains(int x, int y) const {
  return x >= m_markerBox.left && x < m_markerBox.Right() && y >= m_markerBox.top && y < m_markerBox.Bottom();
}

PixelRect CCcdfGraph::PlotRect() const {
  const int h = m_charHeight, w = m_charWidth;
  return FromEdges(m_x + 13 * w, m_y + 4 * h, m_x + m_width - w, m_y + m_height - 3 * h);
}

PixelRect CCcdfGraph::TitleBand() const {
  const int h = m_charHeight, w = m_charWidth;
  return FromEdges(m_x + 13 * w, m_y + h, m_x + m_width - w, m_y + 2 * h);
}

PixelRect CCcdfGraph::MarkerTextBand() const {
  const PixelRect plot = PlotRect();
  const int h = m_charHeight;
  return FromEdges(plot.left, plot.top - (3 * h) / 2 - 2, plot.Right(), plot.top - h / 2 - 2);
}

PixelRect CCcdfGraph::XAxisTitleBand() const {
  const int h = m_charHeight, w = m_charWidth;
  const int top = m_y + m_height - 2 * h + 2;
  return FromEdges(m_x + 13 * w, top, m_x + m_width - w, top + h);
}

PixelRect CCcdfGraph::XLabelBox(int i) const {
  const PixelRect plot = PlotRect();
  const int h = m_charHeight, boxWidth = 8 * m_charWidth;
  const int top = m_y + m_height - 3 * h + 1 + i;  // each box one pixel lower than the previous
  int left = plot.left;
  if (i == 1) left = (plot.left + plot.Right()) / 2 - boxWidth / 2;
  if (i == 2) left = plot.Right() - boxWidth;
  return PixelRect{left, top, boxWidth, h};
}

PixelPoint CCcdfGraph::MapPoint(float x, float y) const {
  const PixelRect plot = PlotRect();
  float clamped = y;
  if (!(y > m_yMin && y < m_yMax)) clamped = y <= m_yMin ? m_yMin : m_yMax;
  const float column = static_cast<float>(plot.left) + (x - m_xMin) * m_xScale;
  const float row = static_cast<float>(plot.Bottom()) - (clamped - m_yMin) * m_yScale;
  return PixelPoint{ToPixel(column), ToPixel(row)};
}

Font CCcdfGraph::NormalFont() const { return Font{"Arial", m_fontPixels, 400, 0}; }
Font CCcdfGraph::VerticalFont() const { return Font{"Arial", m_fontPixels, 400, 90}; }

void CCcdfGraph::PrepareFonts(Canvas& canvas) {
  m_fontDpi = canvas.DpiY();
  m_fontPixels = PointsToPixels(10, m_fontDpi);
  const FontMetrics metrics = canvas.Metrics(NormalFont());
  m_charHeight = std::max(1, static_cast<int>(std::lround(metrics.height)));
  m_charWidth = std::max(1, static_cast<int>(std::lround(metrics.averageCharWidth)));
  RecomputeScales();
}

void CCcdfGraph::DrawBandText(Canvas& canvas, const PixelRect& band, const std::string& text, Argb colour,
                              HAlign align) {
  canvas.FillRect(ToRectF(band), Brush::Solid(m_colours.background));
  TextFormat format;
  format.horizontal = align;
  format.vertical = VAlign::Centre;
  format.singleLine = true;
  format.elide = true;
  canvas.DrawTextInBox(text, ToRectF(band), NormalFont(), colour, format);
}

void CCcdfGraph::Draw(Canvas& canvas) { DrawLayers(canvas, true); }

void CCcdfGraph::DrawFace(Canvas& canvas) { DrawLayers(canvas, false); }

void CCcdfGraph::DrawLayers(Canvas& canvas, bool data) {
  if (m_fontDpi != canvas.DpiY()) PrepareFonts(canvas);
  const PixelRect plot = PlotRect();
  const Pen framePen{m_colours.frame, 1.0};

  canvas.FillRect(RectF{double(m_x), double(m_y), double(m_width), double(m_height)},
                  Brush::Solid(m_colours.background));
  canvas.DrawRect(ToRectF(plot), framePen);
  if (m_gridOn) {
    for (int i = 1; i <= 9; ++i) {
      const double x = plot.left + i * plot.width / 10;
      const double y = plot.top + i * plot.height / 10;
      canvas.DrawLine(PointF{x, double(plot.top)}, PointF{x, double(plot.Bottom())}, framePen);
      canvas.DrawLine(PointF{double(plot.left), y}, PointF{double(plot.Right()), y}, framePen);
    }
  }

  DrawBandText(canvas, TitleBand(), m_title, m_colours.title, HAlign::Centre);
  if (data) DrawBandText(canvas, MarkerTextBand(), m_markerText, m_colours.markerText, HAlign::Centre);
  DrawBandText(canvas, XAxisTitleBand(), m_xAxisTitle, m_colours.xLabels, HAlign::Centre);
  if (!m_yAxisTitle.empty()) {
    // Written upwards in a one-line band at the left edge, centred on the plot.
    const RectF band{double(m_x + 1), double(plot.top), double(m_charHeight), double(plot.height)};
    TextFormat format;
    format.horizontal = HAlign::Centre;
    format.vertical = VAlign::Centre;
    canvas.DrawTextInBox(m_yAxisTitle, band, VerticalFont(), m_colours.yLabels, format);
  }

  const double xValues[3] = {m_xMin, (m_xMin + m_xMax) / 2.0, m_xMax};
  const HAlign xAligns[3] = {HAlign::Left, HAlign::Centre, HAlign::Right};
  for (int i = 0; i < 3; ++i) {
    DrawBandText(canvas, XLabelBox(i), FormatC("%.4g dB", xValues[i]), m_colours.xLabels, xAligns[i]);
  }
  DrawYLabels(canvas);
  DrawReference(canvas);
  if (data) {
    DrawMeasured(canvas);
    DrawMarker(canvas);
  }
  DrawLegend(canvas);
}

void CCcdfGraph::DrawData(Canvas& canvas, bool markerText, bool legend) {
  if (m_fontDpi != canvas.DpiY()) PrepareFonts(canvas);
  // The band lies above the plot, clear of the curve and the marker.
  if (markerText) DrawBandText(canvas, MarkerTextBand(), m_markerText, m_colours.markerText, HAlign::Centre);
  DrawMeasured(canvas);
  DrawMarker(canvas);
  if (legend) DrawLegend(canvas);
}

void CCcdfGraph::LayOutData() {
  m_drawn.clear();
  if (m_data) {
    const auto& pts = m_data->points;
    for (int i = 0; i < m_data->PointCount(); ++i) {
      const float x = pts[2 * i];
      if (InXRange(x)) m_drawn.push_back(MapPoint(x, pts[2 * i + 1]));
    }
  }
  LayOutMarker();
}

void CCcdfGraph::SetLegend(std::string measured, std::string reference) {
  m_legendMeasured = std::move(measured);
  m_legendReference = std::move(reference);
}

void CCcdfGraph::DrawLegend(Canvas& canvas) {
  m_legendBox = PixelRect{};
  if (m_legendMeasured.empty() && m_legendReference.empty()) return;
  const PixelRect plot = PlotRect();
  const int h = m_charHeight, w = m_charWidth;
  const int sample = 3 * w;  // length of the line shown beside each name
  const double text = std::max(canvas.MeasureText(m_legendMeasured, NormalFont()).width,
                               canvas.MeasureText(m_legendReference, NormalFont()).width);
  const int width = w + sample + w + static_cast<int>(std::ceil(text)) + w;
  const int height = 2 * h + h / 2;
  const PixelRect box{plot.Right() - width - w, plot.top + h / 2, width, height};
  // Only where it does not crowd the plot.
  if (box.left < plot.left + plot.width / 2 || box.Bottom() > plot.top + plot.height / 3) return;
  canvas.FillRect(ToRectF(box), Brush::Solid(m_colours.background));
  canvas.DrawRect(ToRectF(box), Pen{m_colours.frame, 1.0});
  const std::pair<const std::string*, Argb> rows[2] = {{&m_legendMeasured, m_colours.curve},
                                                       {&m_legendReference, kReferenceColour}};
  for (int i = 0; i < 2; ++i) {
    const int top = box.top + h / 4 + i * h;
    const double middle = top + h / 2.0;
    canvas.DrawLine(PointF{double(box.left + w), middle}, PointF{double(box.left + w + sample), middle},
                    Pen{rows[i].second, 2.0});
    const RectF band{double(box.left + 2 * w + sample), double(top), text + 1, double(h)};
    TextFormat format;
    format.vertical = VAlign::Centre;
    format.singleLine = true;
    canvas.DrawTextInBox(*rows[i].first, band, NormalFont(), m_colours.xLabels, format);
  }
  m_legendBox = box;
}

void CCcdfGraph::DrawYLabels(Canvas& canvas) {
  const PixelRect plot = PlotRect();
  const int h = m_charHeight, w = m_charWidth;
  const int n = static_cast<int>(std::fabs(m_yMin - m_yMax));
  auto label = [&](int top, double exponent) {
    const PixelRect box = FromEdges(m_x + w, top, m_x + 13 * w - 1, top + h);
    const double percent = std::pow(10.0, std::trunc(exponent)) * 100.0;
    DrawBandText(canvas, box, FormatC("%.4g %%", percent), m_colours.yLabels, HAlign::Right);
  };
  label(plot.top, m_yMax);
  for (int i = 1; i < n; ++i) {
    const int centre = plot.top + i * plot.height / n;
    label(centre - h / 2, m_yMax - static_cast<float>(i));
  }
  label(plot.Bottom() - h, m_yMin);
}

void CCcdfGraph::DrawReference(Canvas& canvas) {
  if (m_reference.empty()) return;
  std::vector<PointF> points;
  points.reserve(ReferenceCurve::kDrawCount);
  for (int i = 0; i < ReferenceCurve::kDrawCount; ++i) {
    const auto x = static_cast<float>(ReferenceCurve::DrawX(i));
    if (!InXRange(x)) continue;
    points.push_back(ToPointF(MapPoint(x, ReferenceCurve::DrawY(m_reference, i))));
  }
  DrawJoined(canvas, points, kReferenceColour);
}

void CCcdfGraph::DrawMeasured(Canvas& canvas) {
  LayOutData();
  std::vector<PointF> points;
  points.reserve(m_drawn.size());
  for (const PixelPoint& p : m_drawn) points.push_back(ToPointF(p));
  DrawJoined(canvas, points, m_colours.curve);
}

void CCcdfGraph::LayOutMarker() {
  m_markerBox = PixelRect{};
  if (!m_data || m_drawn.empty()) return;
  const int index = std::clamp(m_markerIndex, 0, static_cast<int>(m_drawn.size()) - 1);
  const PixelPoint p = m_drawn[index];
  m_markerBox = PixelRect{p.x - 4, p.y - 8, 8, 8};
}

void CCcdfGraph::DrawMarker(Canvas& canvas) {
  LayOutMarker();
  if (m_markerBox.width <= 0) return;
  const PixelPoint p{m_markerBox.left + 4, m_markerBox.top + 8};
  const std::vector<PointF> outline{
      PointF{double(p.x - 4), double(p.y - 8)}, PointF{double(p.x + 4), double(p.y - 8)},
      PointF{double(p.x), double(p.y)}, PointF{double(p.x - 4), double(p.y - 8)}};
  canvas.DrawPolyline(outline, Pen{kMarkerColour, 1.0});
}

}  // namespace wattrix
