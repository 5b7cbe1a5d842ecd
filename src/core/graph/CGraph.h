#pragma once

#include "core/graph/GraphColours.h"
#include "core/graph/GraphSettings.h"
#include "core/graph/PixelPolyline.h"
#include "core/platform/Canvas.h"

#include <cstddef>
#include <span>
#include <string>

namespace wattrix {

// A rectangle in whole device pixels.
struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The graph engine: one series of points against a ten-by-ten grid with
// title, subtitle, axis labels, an optional average line and limit lines.
// It knows nothing of windows or files and paints on any Canvas. The font
// is converted to pixels with the canvas's resolution each time it draws
// (or when UpdateFont is called), and the margins follow its metrics.
//
// Text drawn with the turned font (the y-axis label) uses DrawText with
// the point where the upward text starts: its lower end, the glyphs'
// top facing left.
class CGraph {
 public:
  static constexpr int kMinWidth = 350;
  static constexpr int kMinHeight = 300;

  explicit CGraph(int scheme = graph::kScreenScheme);
  virtual ~CGraph() = default;
  CGraph(const CGraph&) = delete;
  CGraph& operator=(const CGraph&) = delete;

  // Refuses a kind of 12 or more, a style of 4 or more and kinds 6-8
  // without points; otherwise takes texts, points and ranges.
  bool SetSettings(const GraphSettings& settings);
  const GraphSettings& Settings() const { return m_settings; }
  // Forgets the points (texts and ranges stay).
  void ClearPoints() { m_settings.points = {}; }

  // Ranges in either order; equal ends get 0.1 added to the maximum. Ends
  // that are not finite are ignored.
  void SetXRange(double a, double b);
  void SetYRange(double a, double b);
  double XMin() const { return m_xMin; }
  double XMax() const { return m_xMax; }
  double YMin() const { return m_yMin; }
  double YMax() const { return m_yMax; }
  double PixelsPerX() const { return m_pixelsPerX; }
  double PixelsPerY() const { return m_pixelsPerY; }
  int ZeroLineX() const { return m_zeroX; }
  int ZeroLineY() const { return m_zeroY; }

  // The graph's area, at least 350 × 300 pixels.
  void SetPosition(int left, int top, int width, int height);
  PixelRect Area() const { return m_area; }
  // The area less the margins: 18 average characters left, one right,
  // three lines above and four below.
  PixelRect PlotArea() const;

  void SetFont(const std::string& face, double points);
  const std::string& FontFace() const { return m_fontFace; }
  double FontPoints() const { return m_fontPoints; }
  // Converts the font for the canvas's resolution and takes its metrics.
  void UpdateFont(Canvas& canvas);
  int LineHeight() const { return m_lineHeight; }
  int CharWidth() const { return m_charWidth; }

  // Schemes 0-8; others are ignored.
  void SetColourScheme(int scheme);
  int ColourScheme() const { return m_scheme; }
  void SetAverage(double value) { m_average = value; }
  void ShowAverage(bool on) { m_showAverage = on; }
  bool AverageShown() const { return m_showAverage; }
  double Average() const { return m_average; }
  void SetLimits(double upper, double lower);
  void ShowLimits(bool on) { m_showLimits = on; }
  bool LimitsShown() const { return m_showLimits; }
  void SetUnit(std::string unit) { m_unit = std::move(unit); }
  const std::string& Unit() const { return m_unit; }
  // Texts at the ends of the x axis; empty texts show the x range ends.
  void SetAxisEndTexts(std::string start, std::string end);
  void ShowGrid(bool on) { m_grid = on; }
  void ShowTicks(bool on) { m_ticks = on; }
  void SetScaleToFit(bool on);
  // Width of the data line in device pixels (1 on screens; printers ask
  // for more so that the line is seen).
  void SetDataLineWidth(double pixels);
  double DataLineWidth() const { return m_dataLineWidth; }

  void Draw(Canvas& canvas);

  // Draw in parts, for a window that keeps the drawing as an image and
  // redraws only what changed (GraphRedraw). Chrome, end texts and plot
  // give what Draw gives, except where an end text overlaps something.
  // Chrome: background, frame, grid, ticks, title, subtitle, axis labels
  // and y value labels (the font is taken from the canvas first).
  void DrawChrome(Canvas& canvas);
  // The row of the x-axis end texts, and the texts themselves; the row
  // holds nothing else.
  RectF EndTextRow() const;
  void DrawEndTexts(Canvas& canvas) const;
  // What lies inside the plot area: average line, data and limit lines.
  void DrawPlot(Canvas& canvas);
  // Draws points `from` … end of the data in line style onto a drawing of
  // the points before them, within the band of AppendBounds(from), with
  // the limit lines over them; the band must hold the chrome alone (the
  // window restores it first). Joins then come out as in a whole drawing.
  // Returns the band; `from` 0 or beyond the points draws nothing. Meant
  // for points at least a pixel column apart.
  PixelRect DrawAppended(Canvas& canvas, std::size_t from);
  // The plot's columns from the point before the last one drawn to just
  // past the newest, at the plot's full height; empty width for nothing.
  PixelRect AppendBounds(std::size_t from) const;
  // The start and end texts as drawn.
  std::string StartText() const;
  std::string EndText() const;
  bool GridShown() const { return m_grid; }
  bool TicksShown() const { return m_ticks; }
  double UpperLimit() const { return m_upperLimit; }
  double LowerLimit() const { return m_lowerLimit; }
  int FontPixels() const { return m_fontPixels; }

  // Pixel column of x and pixel row of y (y clamped into the range).
  int PixelX(double x) const;
  int PixelY(double y) const;

 private:
  void Recompute();
  Font NormalFont() const;
  void FillBox(Canvas& canvas, const RectF& box) const;
  void TextBox(Canvas& canvas, const std::string& text, const RectF& box, HAlign align, bool elide) const;
  void DrawFrame(Canvas& canvas) const;
  void DrawTexts(Canvas& canvas, bool endTexts) const;
  void DrawYLabels(Canvas& canvas) const;
  void DrawAverage(Canvas& canvas) const;
  void DrawData(Canvas& canvas);
  // Inside the x range and with a y value.
  bool Drawable(const GraphPoint& point) const;
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  // The last drawable point before `index`, or kNone.
  std::size_t DrawableBefore(std::size_t index) const;
  // The points in pixels, in the engine's style.
  void DrawPoints(Canvas& canvas, std::span<const GraphPoint> points);
  void DrawLimits(Canvas& canvas) const;

  GraphSettings m_settings;
  PixelRect m_area{0, 0, kMinWidth, kMinHeight};
  std::string m_fontFace = "Arial";
  double m_fontPoints = 10;
  int m_fontPixels = 13;
  int m_lineHeight = 15;
  int m_charWidth = 6;
  double m_xMin = 0;
  double m_xMax = 100;
  double m_yMin = -40;
  double m_yMax = 50;
  double m_pixelsPerX = 1;
  double m_pixelsPerY = 1;
  int m_zeroX = 0;
  int m_zeroY = 0;
  bool m_grid = true;
  bool m_ticks = false;
  bool m_scaleToFit = true;
  bool m_showAverage = false;
  double m_average = 0;
  std::string m_unit;
  double m_upperLimit = 0;
  double m_lowerLimit = 0;
  bool m_showLimits = false;
  std::string m_startText;
  std::string m_endText;
  int m_scheme;
  GraphColours m_colours;
  PixelPolyline m_line;
  double m_dataLineWidth = 1.0;
};

}  // namespace wattrix
