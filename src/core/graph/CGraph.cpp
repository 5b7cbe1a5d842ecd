#include "core/graph/CGraph.h"

#include "core/platform/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace wattrix {

namespace {

// Pixel positions are whole pixels; values far outside any device are held
// back so that the conversion is always defined.
int ToPixel(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -1e9, 1e9));
}

// Orders a range and keeps it wider than zero, so that no scale divides by
// a zero span.
void OrderRange(double a, double b, double& min, double& max) {
  if (!std::isfinite(a) || !std::isfinite(b)) return;
  if (a > b) std::swap(a, b);
  if (a == b) b += 0.1;
  if (!(b > a)) b = std::nextafter(a, std::numeric_limits<double>::infinity());
  min = a;
  max = b;
}

double PixelsPerUnit(bool scaleToFit, int pixels, double min, double max) {
  if (!scaleToFit) return 1.0;
  const double perUnit = pixels / (max - min);
  return std::isfinite(perUnit) ? perUnit : 1e300;
}

// Zero line: proportional inside the range, else at the near edge for a
// non-negative range and at the far edge for a negative one.
int ZeroLine(double min, double max, double perUnit, int nearEdge, int farEdge) {
  if (min >= 0) return nearEdge;
  if (max <= 0) return farEdge;
  const int direction = farEdge >= nearEdge ? 1 : -1;
  return ToPixel(nearEdge + direction * (0 - min) * perUnit);
}

constexpr Pen PenOf(Argb colour) { return Pen{colour, 1.0}; }

}  // namespace

CGraph::CGraph(int scheme)
    : m_scheme(graph::kScreenScheme), m_colours(GraphColourScheme(graph::kScreenScheme)) {
  SetColourScheme(scheme);
  Recompute();
}

bool CGraph::SetSettings(const GraphSettings& settings) {
  if (settings.kind < 0 || settings.kind >= graph::kKindCount) return false;
  if (settings.style < 0 || settings.style >= graph::kStyleCount) return false;
  if (settings.kind >= 6 && settings.kind <= 8 && settings.points.empty()) return false;
  m_settings = settings;
  const double xStart = (settings.kind == 7 || settings.kind == 8) ? 0.0 : settings.xMin;
  SetXRange(xStart, settings.xMax);
  SetYRange(settings.yMin, settings.yMax);
  return true;
}

void CGraph::SetXRange(double a, double b) {
  OrderRange(a, b, m_xMin, m_xMax);
  Recompute();
}

void CGraph::SetYRange(double a, double b) {
  OrderRange(a, b, m_yMin, m_yMax);
  Recompute();
}

void CGraph::SetPosition(int left, int top, int width, int height) {
  m_area = PixelRect{left, top, std::max(width, kMinWidth), std::max(height, kMinHeight)};
  Recompute();
}

PixelRect CGraph::PlotArea() const {
  const int w = m_charWidth;
  const int h = m_lineHeight;
  return PixelRect{m_area.left + 18 * w, m_area.top + 3 * h, std::max(1, m_area.width - 19 * w),
                   std::max(1, m_area.height - 7 * h)};
}

void CGraph::SetFont(const std::string& face, double points) {
  m_fontFace = face;
  if (std::isfinite(points) && points > 0) m_fontPoints = points;
}

void CGraph::UpdateFont(Canvas& canvas) {
  m_fontPixels = std::max(1, PointsToPixels(m_fontPoints, canvas.DpiY()));
  const FontMetrics metrics = canvas.Metrics(NormalFont());
  m_lineHeight = std::max(1, ToPixel(std::lround(metrics.height)));
  m_charWidth = std::max(1, ToPixel(std::lround(metrics.averageCharWidth)));
  Recompute();
}

void CGraph::SetColourScheme(int scheme) {
  if (scheme < 0 || scheme >= graph::kSchemeCount) return;
  m_scheme = scheme;
  m_colours = GraphColourScheme(scheme);
}

void CGraph::SetLimits(double upper, double lower) {
  m_upperLimit = upper;
  m_lowerLimit = lower;
}

void CGraph::SetAxisEndTexts(std::string start, std::string end) {
  m_startText = std::move(start);
  m_endText = std::move(end);
}

void CGraph::SetScaleToFit(bool on) {
  m_scaleToFit = on;
  Recompute();
}

void CGraph::SetDataLineWidth(double pixels) {
  if (std::isfinite(pixels) && pixels > 0) m_dataLineWidth = pixels;
}

int CGraph::PixelX(double x) const {
  const PixelRect plot = PlotArea();
  return ToPixel(plot.left + (x - m_xMin) * m_pixelsPerX);
}

int CGraph::PixelY(double y) const {
  const PixelRect plot = PlotArea();
  const double clamped = std::clamp(y, m_yMin, m_yMax);
  return ToPixel(plot.Bottom() - (clamped - m_yMin) * m_pixelsPerY);
}

void CGraph::Recompute() {
  const PixelRect plot = PlotArea();
  m_pixelsPerX = PixelsPerUnit(m_scaleToFit, plot.width, m_xMin, m_xMax);
  m_pixelsPerY = PixelsPerUnit(m_scaleToFit, plot.height, m_yMin, m_yMax);
  m_zeroX = ZeroLine(m_xMin, m_xMax, m_pixelsPerX, plot.left, plot.Right());
  m_zeroY = ZeroLine(m_yMin, m_yMax, m_pixelsPerY, plot.Bottom(), plot.top);
}

Font CGraph::NormalFont() const { return Font{m_fontFace, static_cast<double>(m_fontPixels), 400, 0}; }

void CGraph::FillBox(Canvas& canvas, const RectF& box) const {
  canvas.FillRect(box, Brush::Solid(m_colours.background));
}

void CGraph::TextBox(Canvas& canvas, const std::string& text, const RectF& box, HAlign align,
                     bool elide) const {
  FillBox(canvas, box);
  TextFormat format;
  format.horizontal = align;
  format.vertical = VAlign::Centre;
  format.singleLine = true;
  format.elide = elide;
  canvas.DrawTextInBox(text, box, NormalFont(), m_colours.foreground, format);
}

void CGraph::Draw(Canvas& canvas) {
  UpdateFont(canvas);
  canvas.SetAntialiasing(false);
  canvas.FillRect(RectF{static_cast<double>(m_area.left), static_cast<double>(m_area.top),
                        static_cast<double>(m_area.width), static_cast<double>(m_area.height)},
                  Brush::Solid(m_colours.background));
  DrawFrame(canvas);
  DrawTexts(canvas, true);
  DrawYLabels(canvas);
  DrawPlot(canvas);
}

void CGraph::DrawChrome(Canvas& canvas) {
  UpdateFont(canvas);
  canvas.SetAntialiasing(false);
  canvas.FillRect(RectF{static_cast<double>(m_area.left), static_cast<double>(m_area.top),
                        static_cast<double>(m_area.width), static_cast<double>(m_area.height)},
                  Brush::Solid(m_colours.background));
  DrawFrame(canvas);
  DrawTexts(canvas, false);
  DrawYLabels(canvas);
}

void CGraph::DrawPlot(Canvas& canvas) {
  if (m_showAverage) DrawAverage(canvas);
  DrawData(canvas);
  if (m_showLimits) DrawLimits(canvas);
}

RectF CGraph::EndTextRow() const {
  const double h = m_lineHeight;
  return RectF{double(m_area.left), m_area.Bottom() - 3 * h, double(m_area.width), h};
}

std::string CGraph::StartText() const { return m_startText.empty() ? FormatGeneral(m_xMin, 4) : m_startText; }

std::string CGraph::EndText() const { return m_endText.empty() ? FormatGeneral(m_xMax, 4) : m_endText; }

void CGraph::DrawEndTexts(Canvas& canvas) const {
  // The texts may be wider than their boxes; they are not clipped.
  const PixelRect p = PlotArea();
  const double h = m_lineHeight;
  const double w = m_charWidth;
  const double row = m_area.Bottom() - 3 * h;
  TextBox(canvas, StartText(), {double(p.left), row, 8 * w, h}, HAlign::Left, false);
  TextBox(canvas, EndText(), {p.Right() - 8 * w, row, 8 * w, h}, HAlign::Right, false);
}

bool CGraph::Drawable(const GraphPoint& point) const {
  return point.x >= m_xMin && point.x <= m_xMax && !std::isnan(point.y);
}

std::size_t CGraph::DrawableBefore(std::size_t index) const {
  const auto points = m_settings.points;
  for (std::size_t i = std::min(index, points.size()); i-- > 0;)
    if (Drawable(points[i])) return i;
  return kNone;
}

PixelRect CGraph::AppendBounds(std::size_t from) const {
  const auto points = m_settings.points;
  if (from == 0 || from >= points.size()) return PixelRect{};
  const PixelRect plot = PlotArea();
  // From the column of the point before the last one drawn: the line's
  // end there was drawn as an end, and is drawn again as a join.
  const std::size_t last = DrawableBefore(from);
  const std::size_t before = last == kNone ? kNone : DrawableBefore(last);
  const int left = before == kNone ? plot.left - 1 : PixelX(points[before].x);
  // To the right of the last drawn and the new points, less a line's end
  // reaches no further than the next column.
  int right = last == kNone ? left : PixelX(points[last].x);
  for (std::size_t i = from; i < points.size(); ++i)
    if (Drawable(points[i])) right = std::max(right, PixelX(points[i].x));
  right = std::min(right + 2, plot.Right() + 2);
  return PixelRect{left, plot.top - 1, std::max(1, right - left), plot.height + 3};
}

PixelRect CGraph::DrawAppended(Canvas& canvas, std::size_t from) {
  const PixelRect band = AppendBounds(from);
  if (band.width <= 0) return band;
  // The line enters the band from the point before its first column, so
  // that it crosses the band's edge as in a whole drawing.
  std::size_t start = DrawableBefore(from);
  for (int back = 0; back < 2 && start != kNone; ++back) {
    const std::size_t earlier = DrawableBefore(start);
    if (earlier == kNone) break;
    start = earlier;
  }
  if (start == kNone) start = from;
  canvas.SetAntialiasing(false);
  canvas.SetClip(RectF{double(band.left), double(band.top), double(band.width), double(band.height)});
  DrawPoints(canvas, m_settings.points.subspan(start));
  if (m_showLimits) DrawLimits(canvas);
  canvas.ResetClip();
  return band;
}

void CGraph::DrawFrame(Canvas& canvas) const {
  const PixelRect p = PlotArea();
  const Pen pen = PenOf(m_colours.foreground);
  canvas.DrawRect(RectF{double(p.left), double(p.top), double(p.width), double(p.height)}, pen);
  if (m_grid) {
    for (int i = 1; i < 10; ++i) {
      const double x = p.left + i * p.width / 10;
      const double y = p.top + i * p.height / 10;
      canvas.DrawLine({x, double(p.top)}, {x, double(p.Bottom())}, pen);
      canvas.DrawLine({double(p.left), y}, {double(p.Right()), y}, pen);
    }
  }
  if (m_ticks) {
    for (int i = 0; i <= 10; ++i) {
      const double x = p.left + i * p.width / 10;
      const double y = p.top + i * p.height / 10;
      canvas.DrawLine({x, double(m_zeroY)}, {x, double(m_zeroY + 5)}, pen);
      canvas.DrawLine({double(m_zeroX - 5), y}, {double(m_zeroX), y}, pen);
    }
  }
}

void CGraph::DrawTexts(Canvas& canvas, bool endTexts) const {
  const PixelRect p = PlotArea();
  const double h = m_lineHeight;
  const double w = m_charWidth;
  const double bottom = m_area.Bottom();
  TextBox(canvas, m_settings.title, {double(p.left), m_area.top + h, double(p.width), h}, HAlign::Centre,
          true);
  TextBox(canvas, m_settings.subtitle, {double(p.left), p.top - h, double(p.width), h}, HAlign::Centre, true);
  TextBox(canvas, m_settings.xLabel, {double(p.left), bottom - 2 * h, double(p.width), h}, HAlign::Centre,
          true);

  if (!m_settings.yLabel.empty()) {
    Font turned = NormalFont();
    turned.angleDegrees = 90;
    const double length = canvas.MeasureText(m_settings.yLabel, NormalFont()).width;
    const PointF start{m_area.left + w / 2, p.top + p.height / 2.0 + length / 2};
    canvas.DrawText(m_settings.yLabel, start, turned, m_colours.foreground);
  }

  if (endTexts) DrawEndTexts(canvas);
}

void CGraph::DrawYLabels(Canvas& canvas) const {
  const PixelRect p = PlotArea();
  const double h = m_lineHeight;
  const double step = (m_yMax - m_yMin) / 10;
  const double right = p.left - m_charWidth / 2.0;
  const Font font = NormalFont();
  for (int i = 0; i <= 10; ++i) {
    const double value = m_yMax - i * step;
    const double y = p.top + i * p.height / 10;
    const std::string text = FormatGeneral(value, 4) + " " + m_unit;
    // Each label's box is its own text only, so that the upward axis label
    // further left stays whole.
    const double left = std::max<double>(m_area.left, right - canvas.MeasureText(text, font).width - 2);
    TextBox(canvas, text, {left, y - h / 2, right - left, h}, HAlign::Right, false);
  }
}

void CGraph::DrawAverage(Canvas& canvas) const {
  if (!std::isfinite(m_average)) return;
  const PixelRect p = PlotArea();
  const double y = PixelY(m_average);
  canvas.DrawLine({double(p.left), y}, {double(p.Right()), y}, PenOf(m_colours.average));
  const std::string text = "Avg. : " + FormatFixed(m_average, 2) + " " + m_unit;
  const double width = canvas.MeasureText(text, NormalFont()).width + 2;
  const double h = m_lineHeight;
  const RectF box{p.Right() - width - 1, y - h - 1, width, h};
  FillBox(canvas, box);
  TextFormat format;
  format.horizontal = HAlign::Right;
  format.vertical = VAlign::Centre;
  canvas.DrawTextInBox(text, box, NormalFont(), m_colours.average, format);
}

void CGraph::DrawData(Canvas& canvas) { DrawPoints(canvas, m_settings.points); }

void CGraph::DrawPoints(Canvas& canvas, std::span<const GraphPoint> points) {
  if (points.empty()) return;
  const Pen pen{m_colours.data, m_dataLineWidth};
  const int style = m_settings.style;
  m_line.Clear();
  int pixelX = 0;
  int pixelY = 0;
  bool havePixel = false;
  for (const GraphPoint& point : points) {
    // Points left or right of the x range are skipped; y is held in range.
    if (!Drawable(point)) continue;
    const int x = PixelX(point.x);
    const int y = PixelY(point.y);
    if (style == graph::kStyleBars) {
      canvas.DrawLine({double(x), double(m_zeroY)}, {double(x), double(y)}, pen);
    } else if (style == graph::kStylePixels) {
      if (!havePixel || x != pixelX || y != pixelY)
        canvas.FillRect({double(x), double(y), 1, 1}, Brush::Solid(pen.colour));
      pixelX = x, pixelY = y, havePixel = true;
    } else {
      m_line.Add(x, y);
    }
  }
  if (style == graph::kStyleBars || style == graph::kStylePixels) return;
  const auto& vertices = m_line.Finish();
  if (!vertices.empty()) canvas.DrawPolyline(vertices, pen);
}

void CGraph::DrawLimits(Canvas& canvas) const {
  const PixelRect p = PlotArea();
  for (const double limit : {m_upperLimit, m_lowerLimit}) {
    if (!(limit >= m_yMin && limit <= m_yMax)) continue;
    const double y = PixelY(limit);
    canvas.DrawLine({double(p.left), y}, {double(p.Right()), y}, PenOf(m_colours.limits));
  }
}

}  // namespace wattrix
