#pragma once

#include "core/ccdf/CcdfStatistics.h"
#include "core/ccdf/GraphData.h"
#include "core/graph/CGraph.h"
#include "core/platform/Canvas.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wattrix {

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Colours of the CCDF graph's roles.
struct CcdfColourScheme {
  Argb background;
  Argb frame;  // plot frame and grid
  Argb title;
  Argb markerText;
  Argb xLabels;  // x-axis labels and title
  Argb yLabels;
  Argb curve;
  // Scheme 8 is the printing one (white, everything else black); every
  // other number gives the screen colours of scheme 1.
  static CcdfColourScheme ForNumber(int scheme);
};

// The CCDF plot: probability on a logarithmic y axis (one decade per
// label) against dB above the average, the Gaussian reference curve behind
// the measured one, and a marker the user drags along the measured curve.
// Paints on any Canvas; the window around it only forwards size, paint and
// mouse. It shares no drawing with the history graph's CGraph (only its
// PixelRect), so it does not derive from it: CGraph's non-virtual
// SetSettings and Draw would silently paint the wrong graph.
class CCcdfGraph final {
 public:
  static constexpr int kMinWidth = 350;
  static constexpr int kMinHeight = 300;
  static constexpr Argb kReferenceColour = MakeRgb(0, 220, 0);
  static constexpr Argb kMarkerColour = MakeRgb(220, 0, 0);
  static constexpr const char* kTitle = "CCDF Graph";
  static constexpr const char* kXAxisTitle = "Power : dB";

  // As the control creates it: canvas 350 × 300, x 0..20, y −5..0, grid
  // on, titles set, no data, no marked point, reference curve built.
  explicit CCcdfGraph(int x = 0, int y = 0, int width = 0, int height = 0, int scheme = 1);

  // Refuses a plot type ≥ 12, a line style ≥ 4 and pairs without points.
  bool SetGraphData(GraphData data);
  const GraphData* Data() const { return m_data ? &*m_data : nullptr; }

  // The control's hand-over of a new curve: copies it with (log probability,
  // power) swapped into (x, y), marks point 0 when nothing was marked, and
  // sets the marker text. An empty curve leaves no line and no marker text.
  void SetCurve(float xFrom, float xTo, float yFirst, float ySecond, std::span<const CcdfPoint> curve);

  // Negative origin or non-positive size keeps the old value; sizes below
  // the minimum are raised to it.
  void SetCanvas(int x, int y, int width, int height);
  // Measures the fonts on the device (text height h and character width w
  // drive the layout); Draw does it when the device's resolution changed.
  void PrepareFonts(Canvas& canvas);
  // The whole graph: the face, then the data layer over it.
  void Draw(Canvas& canvas);
  // What does not follow the measured data: ground, frame, grid, titles,
  // axis labels, reference curve and legend. A window keeps it as an image.
  void DrawFace(Canvas& canvas);
  // The measured data over a face: marker text, curve, marker and, over
  // them, the legend. Every pixel it sets lies in the marker text band,
  // the legend box or near the drawn points and the marker box. A window that puts the face back only
  // in part leaves out the band and the legend where the face still holds
  // them as drawn here (`markerText`, `legend` false).
  void DrawData(Canvas& canvas, bool markerText = true, bool legend = true);
  // Places the measured points and the marker for the current data and
  // size, as DrawData will (DrawnPoints, MarkerBox).
  void LayOutData();

  // Marks the drawn point nearest to pointerX, within less than 100 pixels;
  // none (−1) when every point is farther.
  void MoveMarker(int pointerX);
  int MarkerIndex() const { return m_markerIndex; }
  void SetMarkerIndex(int index) { m_markerIndex = index; }
  // The rectangle of the last drawn marker triangle (empty when none).
  PixelRect MarkerBox() const { return m_markerBox; }
  // Inside the marker box, its right and bottom edges excluded.
  bool MarkerBoxContains(int x, int y) const;
  const std::string& MarkerText() const { return m_markerText; }

  void SetReferenceCurve(std::vector<float> values) { m_reference = std::move(values); }
  // Names of the measured and the reference curve, drawn with a sample of
  // each line in the plot's upper right corner (which a CCDF curve never
  // reaches); no legend while both are empty.
  void SetLegend(std::string measured, std::string reference);
  // The box the legend took in the last paint (empty when none).
  PixelRect LegendBox() const { return m_legendBox; }
  const std::vector<float>& ReferenceValues() const { return m_reference; }

  // Geometry, for the control and the tests.
  PixelRect PlotRect() const;
  PixelRect TitleBand() const;
  PixelRect MarkerTextBand() const;
  PixelRect XAxisTitleBand() const;
  PixelRect XLabelBox(int i) const;  // 0 left, 1 middle, 2 right
  int CharHeight() const { return m_charHeight; }
  int CharWidth() const { return m_charWidth; }
  float XMin() const { return m_xMin; }
  float XMax() const { return m_xMax; }
  float YMin() const { return m_yMin; }
  float YMax() const { return m_yMax; }
  float XScale() const { return m_xScale; }
  float YScale() const { return m_yScale; }
  PixelPoint MapPoint(float x, float y) const;
  // Pixel of each measured point drawn by the last paint, by drawing index.
  const std::vector<PixelPoint>& DrawnPoints() const { return m_drawn; }
  // Index into the data's points of the point the marker shows, or −1.
  int MarkedPointIndex() const;
  const std::string& Title() const { return m_title; }
  const std::string& XAxisTitle() const { return m_xAxisTitle; }
  const std::string& YAxisTitle() const { return m_yAxisTitle; }

  static std::string FormatMarkerText(float x, float y);

 private:
  void SetXRange(float a, float b);
  void SetYRange(float a, float b);
  void RecomputeScales();
  bool InXRange(float x) const { return x >= m_xMin && x <= m_xMax; }
  // Point indices that a paint draws, in drawing order.
  std::vector<int> DrawableIndices() const;
  std::string MarkerTextForCurrentData() const;
  Font NormalFont() const;
  Font VerticalFont() const;
  void DrawBandText(Canvas& canvas, const PixelRect& band, const std::string& text, Argb colour,
                    HAlign align);
  // The face, with the data layer between the reference curve and the
  // legend when `data` is true.
  void DrawLayers(Canvas& canvas, bool data);
  void DrawYLabels(Canvas& canvas);
  void DrawReference(Canvas& canvas);
  void DrawMeasured(Canvas& canvas);
  void DrawMarker(Canvas& canvas);
  void LayOutMarker();
  void DrawLegend(Canvas& canvas);

  int m_x = 0;
  int m_y = 0;
  int m_width = kMinWidth;
  int m_height = kMinHeight;
  float m_xMin = 0;
  float m_xMax = 20;
  float m_yMin = -5;
  float m_yMax = 0;
  float m_xScale = 1;
  float m_yScale = 1;
  bool m_gridOn = true;
  bool m_scaleOn = true;
  int m_fontDpi = 0;  // resolution the metrics were measured at; 0: not yet
  double m_fontPixels = 13;
  int m_charHeight = 16;
  int m_charWidth = 7;
  CcdfColourScheme m_colours;
  std::string m_title = kTitle;
  std::string m_xAxisTitle = kXAxisTitle;
  std::string m_yAxisTitle;
  std::string m_markerText;
  std::optional<GraphData> m_data;
  std::vector<float> m_reference;
  std::vector<PixelPoint> m_drawn;
  int m_markerIndex = -1;
  PixelRect m_markerBox;
  std::string m_legendMeasured;
  std::string m_legendReference;
  PixelRect m_legendBox;
};

}  // namespace wattrix
