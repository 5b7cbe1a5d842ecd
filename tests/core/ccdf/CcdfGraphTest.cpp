#include "core/ccdf/CCcdfGraph.h"
#include "core/ccdf/ReferenceCurve.h"
#include "support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wattrix {
namespace {

using test::RecordingCanvas;
using Op = RecordingCanvas::Op;

// A graph laid out on the recording canvas (text height 16, character
// width 7 at 96 dpi) with a plot of exactly 500 × 400 pixels.
struct Laid {
  RecordingCanvas canvas;
  CCcdfGraph graph;
  Laid() {
    graph.PrepareFonts(canvas);
    graph.SetCanvas(0, 0, 598, 512);
  }
  void SetCurve(std::vector<CcdfPoint> curve) { graph.SetCurve(0, 20, 0, -4, curve); }
  void Draw() {
    canvas.Clear();
    graph.Draw(canvas);
  }
};

std::vector<const RecordingCanvas::Primitive*> PolylinesOf(const RecordingCanvas& c, Argb colour) {
  std::vector<const RecordingCanvas::Primitive*> out;
  for (const auto* p : c.OfKind(Op::Polyline)) {
    if (p->pen.colour == colour) out.push_back(p);
  }
  return out;
}

TEST(CcdfGraphState, ConstructionRangesCanvasAndRefusedData) {
  CCcdfGraph g;
  EXPECT_EQ(g.Title(), "CCDF Graph");
  EXPECT_EQ(g.XAxisTitle(), "Power : dB");
  EXPECT_EQ(g.MarkerIndex(), -1);
  EXPECT_EQ(g.Data(), nullptr);
  EXPECT_EQ(g.YMin(), -5.0f);
  EXPECT_EQ(g.ReferenceValues().size(), 800u);

  GraphData d;
  d.plotType = 6;
  d.lineStyle = 1;
  EXPECT_FALSE(g.SetGraphData(d));  // pairs without points
  d.points = {1, -1};
  d.plotType = 12;
  EXPECT_FALSE(g.SetGraphData(d));
  d.plotType = 6;
  d.lineStyle = 4;
  EXPECT_FALSE(g.SetGraphData(d));
  EXPECT_EQ(g.Data(), nullptr);

  d.lineStyle = 1;
  d.xFrom = 20;
  d.xTo = 0;
  d.yFirst = 0;
  d.ySecond = -4;
  ASSERT_TRUE(g.SetGraphData(d));
  EXPECT_EQ(g.XMin(), 0.0f);
  EXPECT_EQ(g.XMax(), 20.0f);
  EXPECT_EQ(g.YMin(), -4.0f);
  EXPECT_EQ(g.YMax(), 0.0f);
  d.xFrom = d.xTo = 5;
  ASSERT_TRUE(g.SetGraphData(d));
  EXPECT_EQ(g.XMax(), 5.1f);

  // Canvas: bad values keep the old ones, small sizes become the minimum.
  RecordingCanvas canvas;
  g.PrepareFonts(canvas);
  g.SetCanvas(10, 20, 800, 600);
  g.SetCanvas(-1, -1, 0, -5);
  EXPECT_EQ(g.PlotRect(), (PixelRect{10 + 91, 20 + 64, 800 - 98, 600 - 112}));
  g.SetCanvas(0, 0, 100, 200);
  EXPECT_EQ(g.PlotRect(), (PixelRect{91, 64, 350 - 98, 300 - 112}));
  EXPECT_NEAR(g.XScale(), (350 - 98) / 0.1, 0.01);
}

TEST(CcdfGraphGeometry, BandsMappingAndClamping) {
  Laid l;
  l.SetCurve({{0, 0}});
  const auto& g = l.graph;
  EXPECT_EQ(g.PlotRect(), (PixelRect{91, 64, 500, 400}));
  EXPECT_EQ(g.TitleBand(), (PixelRect{91, 16, 500, 16}));
  EXPECT_EQ(g.MarkerTextBand(), (PixelRect{91, 64 - 24 - 2, 500, 16}));
  EXPECT_EQ(g.XAxisTitleBand(), (PixelRect{91, 512 - 32 + 2, 500, 16}));
  EXPECT_EQ(g.XLabelBox(0), (PixelRect{91, 465, 56, 16}));
  EXPECT_EQ(g.XLabelBox(1), (PixelRect{341 - 28, 466, 56, 16}));
  EXPECT_EQ(g.XLabelBox(2), (PixelRect{591 - 56, 467, 56, 16}));

  EXPECT_EQ(g.MapPoint(0, 0), (PixelPoint{91, 64}));
  EXPECT_EQ(g.MapPoint(20, -4), (PixelPoint{591, 464}));
  EXPECT_EQ(g.MapPoint(10, -2), (PixelPoint{341, 264}));
  EXPECT_EQ(g.MapPoint(0.039f, -0.999f), (PixelPoint{91, 163}));  // truncated toward zero
  EXPECT_EQ(g.MapPoint(5, 3), (PixelPoint{216, 64}));             // clamped to the top
  EXPECT_EQ(g.MapPoint(5, -9), (PixelPoint{216, 464}));           // and to the bottom
}

TEST(CcdfGraphDraw, OrderLabelsAndColours) {
  Laid l;
  l.SetCurve({{-3.5f, 12}, {-2, 6}, {-0.3f, 0}});
  l.Draw();
  const auto& prims = l.canvas.Primitives();
  ASSERT_GT(prims.size(), 20u);
  EXPECT_EQ(prims[0].op, Op::FillRect);
  EXPECT_EQ(prims[0].rect, (RectF{0, 0, 598, 512}));
  EXPECT_EQ(prims[0].brush.colour, MakeRgb(28, 60, 114));
  EXPECT_EQ(prims[1].op, Op::DrawRect);
  EXPECT_EQ(prims[1].rect, (RectF{91, 64, 500, 400}));
  for (int i = 2; i < 20; ++i) EXPECT_EQ(prims[i].op, Op::Line) << i;
  EXPECT_EQ(prims[2].points[0], (PointF{141, 64}));  // first vertical line
  EXPECT_EQ(prims[3].points[0], (PointF{91, 104}));  // first horizontal line
  EXPECT_EQ(prims[2].pen.colour, MakeRgb(210, 210, 210));

  const std::vector<std::string> texts{"CCDF Graph", "Marker : 12.00 dB, 0.032 %",
                                       "Power : dB", "0 dB",
                                       "10 dB",      "20 dB",
                                       "100 %",      "10 %",
                                       "1 %",        "0.1 %",
                                       "0.01 %"};
  EXPECT_EQ(l.canvas.Texts(), texts);

  // y labels, one per decade: only top, middle and bottom fall on grid lines.
  const double tops[5] = {64, 164 - 8, 264 - 8, 364 - 8, 464 - 16};
  for (int i = 0; i < 5; ++i) {
    const auto* label = l.canvas.FindText(texts[6 + i]);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->rect, (RectF{7, tops[i], 83, 16})) << texts[6 + i];
    EXPECT_EQ(label->format.horizontal, HAlign::Right);
  }

  // Reference, then measured curve, then the marker.
  const auto reference = PolylinesOf(l.canvas, MakeRgb(0, 220, 0));
  const auto measured = PolylinesOf(l.canvas, MakeRgb(255, 255, 0));
  const auto marker = PolylinesOf(l.canvas, MakeRgb(220, 0, 0));
  ASSERT_EQ(reference.size(), 1u);
  ASSERT_EQ(measured.size(), 1u);
  ASSERT_EQ(marker.size(), 1u);
  EXPECT_LT(reference[0], measured[0]);
  EXPECT_LT(measured[0], marker[0]);
  EXPECT_EQ(measured[0]->points.size(), 3u);
  EXPECT_EQ(measured[0]->points[0], (PointF{391, 414}));
}

TEST(CcdfGraphReference, NodesResamplingAndDrawing) {
  const auto values = ReferenceCurve::Build();
  ASSERT_EQ(values.size(), 800u);
  for (int k = 0; k < 25; ++k) {
    // Node k sits at i = 32 k (t = i × 25 / 800).
    if (32 * k >= 800) break;
    EXPECT_NEAR(values[32 * k], std::log10(ReferenceCurve::TablePercent()[k] / 100.0), 1e-6) << k;
  }
  EXPECT_NEAR(values[0], std::log10(0.373), 1e-6);
  EXPECT_NEAR(values[768], std::log10(0.000000184), 1e-5);
  // Halfway between the first nodes, the cubic through nodes 0..3; past the
  // last node the cubic through nodes 21..24, extrapolated (it turns up again).
  EXPECT_NEAR(values[16], -0.4637153, 1e-6);
  EXPECT_NEAR(values[799], -6.2368791, 1e-5);

  Laid l;
  l.Draw();
  const auto reference = PolylinesOf(l.canvas, MakeRgb(0, 220, 0));
  ASSERT_EQ(reference.size(), 1u);
  const auto& pts = reference[0]->points;
  ASSERT_EQ(pts.size(), 1280u);                                     // x = i × 12.5 / 800 stays below 20 dB
  EXPECT_EQ(pts[0], (PointF{91, std::trunc(64 + 0.428291 * 80)}));  // y range −5..0 without data
  EXPECT_EQ(pts[800].y, 464);                                       // −5 beyond the table
  EXPECT_EQ(pts[1279].x, std::trunc(91 + 1279 * 12.5 / 800 * 25));
}

TEST(CcdfGraphMarker, SkippedPointsMoveMarkerAndNewCurves) {
  Laid l;
  // Two points above 20 dB get no drawing index.
  l.SetCurve({{-3.9f, 25}, {-3.5f, 21}, {-3, 15}, {-2, 10}, {-1, 5}, {-0.5f, 0}});
  EXPECT_EQ(l.graph.MarkerIndex(), 0);
  EXPECT_EQ(l.graph.MarkerText(), "Marker : 15.00 dB, 0.100 %");  // the drawn point, not array point 0
  l.Draw();
  ASSERT_EQ(l.graph.DrawnPoints().size(), 4u);
  const PixelPoint first = l.graph.DrawnPoints()[0];
  EXPECT_EQ(first, (PixelPoint{466, 364}));
  const auto marker = PolylinesOf(l.canvas, MakeRgb(220, 0, 0));
  ASSERT_EQ(marker.size(), 1u);
  EXPECT_EQ(marker[0]->points, (std::vector<PointF>{{462, 356}, {470, 356}, {466, 364}, {462, 356}}));
  EXPECT_EQ(l.graph.MarkerBox(), (PixelRect{462, 356, 8, 8}));
  EXPECT_TRUE(l.graph.MarkerBoxContains(462, 356));
  EXPECT_FALSE(l.graph.MarkerBoxContains(470, 360));  // right edge excluded
  EXPECT_FALSE(l.graph.MarkerBoxContains(466, 364));  // bottom edge excluded

  // Dragging: nearest drawn point within 100 px (10 dB at x 341, 5 dB at 216).
  l.graph.MoveMarker(300);
  EXPECT_EQ(l.graph.MarkerIndex(), 1);
  EXPECT_EQ(l.graph.MarkerText(), "Marker : 10.00 dB, 1.000 %");
  l.graph.MoveMarker(278);  // 63 px from 10 dB, 62 px from 5 dB
  EXPECT_EQ(l.graph.MarkerIndex(), 2);
  l.graph.MoveMarker(466 + 100);  // exactly 100 px away: no point
  EXPECT_EQ(l.graph.MarkerIndex(), -1);
  // With no marked point the text and the triangle show the first drawn point.
  EXPECT_EQ(l.graph.MarkerText(), "Marker : 15.00 dB, 0.100 %");
  l.Draw();
  EXPECT_EQ(l.graph.MarkerBox(), (PixelRect{462, 356, 8, 8}));

  // A new sweep keeps the drawing index; its text reads the new curve there.
  l.graph.SetMarkerIndex(2);
  l.SetCurve({{-3, 14}, {-2, 9}, {-1, 4.5f}, {0, 0}});
  EXPECT_EQ(l.graph.MarkerIndex(), 2);
  EXPECT_EQ(l.graph.MarkerText(), "Marker : 4.50 dB, 10.000 %");
  // A shorter curve: the marker moves to its last point rather than to none.
  l.SetCurve({{-2, 3}, {-1, 1}});
  EXPECT_EQ(l.graph.MarkerIndex(), 1);
  EXPECT_EQ(l.graph.MarkerText(), "Marker : 1.00 dB, 10.000 %");

  // An empty curve: no measured line, no marker text, no triangle.
  l.graph.SetCurve(0, 20, 0, -4, {});
  EXPECT_TRUE(l.graph.MarkerText().empty());
  l.Draw();
  EXPECT_TRUE(PolylinesOf(l.canvas, MakeRgb(255, 255, 0)).empty());
  EXPECT_TRUE(PolylinesOf(l.canvas, MakeRgb(220, 0, 0)).empty());
  EXPECT_TRUE(l.graph.DrawnPoints().empty());
  EXPECT_EQ(l.graph.MarkerBox(), PixelRect{});
}

TEST(CcdfGraphMarker, OnePointCurveIsJoinedToItself) {
  Laid l;
  l.SetCurve({{-4, 0.5f}});
  l.Draw();
  std::vector<const RecordingCanvas::Primitive*> dots;
  for (const auto* p : l.canvas.OfKind(Op::Line)) {
    if (p->pen.colour == MakeRgb(255, 255, 0)) dots.push_back(p);
  }
  ASSERT_EQ(dots.size(), 1u);
  EXPECT_EQ(dots[0]->points[0], dots[0]->points[1]);
  EXPECT_EQ(l.graph.MarkerText(), "Marker : 0.50 dB, 0.010 %");
}

TEST(CcdfGraphLegend, NamesBothCurvesInTheEmptyCornerOnlyWhenGiven) {
  Laid l;
  l.SetCurve({{-4.0f, 9.0f}, {-1.0f, 3.0f}, {-0.4f, 0.0f}});
  l.Draw();
  EXPECT_EQ(l.graph.LegendBox().width, 0);
  EXPECT_EQ(l.canvas.FindText("Measured"), nullptr);

  l.graph.SetLegend("Measured", "Gaussian noise");
  l.Draw();
  const PixelRect box = l.graph.LegendBox();
  const PixelRect plot = l.graph.PlotRect();
  ASSERT_GT(box.width, 0);
  // Inside the upper right of the plot, drawn after the curves.
  EXPECT_LE(box.Right(), plot.Right());
  EXPECT_GE(box.top, plot.top);
  EXPECT_LT(box.Bottom(), plot.top + plot.height / 3);
  const auto* measured = l.canvas.FindText("Measured");
  const auto* reference = l.canvas.FindText("Gaussian noise");
  ASSERT_TRUE(measured && reference);
  EXPECT_LT(measured->rect.y, reference->rect.y);
  // A sample of each line in the curve's colours beside its name.
  int yellow = 0, green = 0;
  for (const auto* p : l.canvas.OfKind(Op::Line)) {
    if (p->points[0].x < box.left || p->points[0].x > box.Right()) continue;
    yellow += p->pen.colour == MakeRgb(255, 255, 0);
    green += p->pen.colour == MakeRgb(0, 220, 0);
  }
  EXPECT_EQ(yellow, 1);
  EXPECT_EQ(green, 1);

  // A canvas too small for it: no legend rather than one over the curve.
  l.graph.SetCanvas(0, 0, 350, 300);
  l.graph.SetLegend("Measured by the sensor over a long time", "Gaussian noise of the same average");
  l.Draw();
  EXPECT_EQ(l.graph.LegendBox().width, 0);
}

}  // namespace
}  // namespace wattrix
