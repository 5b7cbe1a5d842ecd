#include "core/graph/CGraph.h"

#include "support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace wattrix {
namespace {

using Op = test::RecordingCanvas::Op;
const Argb kBackground = MakeRgb(28, 61, 114);
const Argb kForeground = MakeRgb(210, 210, 210);

// At 96 dpi the recording canvas gives 10 points 13 pixels, a line height
// of 16 and an average character width of 7.
void Configure(CGraph& graph, std::vector<GraphPoint>& points) {
  graph.SetPosition(0, 0, 700, 500);
  GraphSettings s;
  s.title = "Title";
  s.subtitle = "Sub";
  s.xLabel = "Time";
  s.yLabel = "Power";
  s.xMin = 0;
  s.xMax = 10;
  s.yMin = 10;
  s.yMax = -10;
  s.points = points;
  EXPECT_TRUE(graph.SetSettings(s));
  graph.SetUnit("dBm");
}

TEST(CGraphScale, RangesPositionAndSettings) {
  CGraph g;
  g.SetYRange(60, 20);
  EXPECT_EQ(g.YMin(), 20);
  EXPECT_EQ(g.YMax(), 60);
  g.SetYRange(5, 5);
  EXPECT_EQ(g.YMin(), 5);
  EXPECT_DOUBLE_EQ(g.YMax(), 5.1);
  g.SetYRange(std::nan(""), 3);  // ignored
  EXPECT_DOUBLE_EQ(g.YMax(), 5.1);
  g.SetXRange(1e300, 1e300);  // 0.1 is lost at this size: still a span
  EXPECT_GT(g.XMax(), g.XMin());
  EXPECT_TRUE(std::isfinite(g.PixelsPerX()));

  g.SetPosition(10, 20, 100, 100);
  EXPECT_EQ(g.Area(), (PixelRect{10, 20, 350, 300}));
  test::RecordingCanvas canvas;
  g.UpdateFont(canvas);
  EXPECT_EQ(g.LineHeight(), 16);
  EXPECT_EQ(g.CharWidth(), 7);
  EXPECT_EQ(g.PlotArea(), (PixelRect{10 + 126, 20 + 48, 350 - 133, 300 - 112}));
  g.SetXRange(0, 217);
  EXPECT_DOUBLE_EQ(g.PixelsPerX(), 1.0);
  // Zero lines: inside the range, at the near edge, at the far edge.
  g.SetYRange(-11.75, 35.25);  // 4 pixels per unit
  EXPECT_EQ(g.ZeroLineY(), 68 + 188 - 47);
  g.SetYRange(10, 30);
  EXPECT_EQ(g.ZeroLineY(), 68 + 188);
  g.SetYRange(-30, -10);
  EXPECT_EQ(g.ZeroLineY(), 68);

  std::vector<GraphPoint> one{{0, 0}};
  GraphSettings s;
  s.points = one;
  s.kind = 12;
  EXPECT_FALSE(g.SetSettings(s));
  s.kind = 6;
  s.style = 4;
  EXPECT_FALSE(g.SetSettings(s));
  s.style = 3;
  s.points = {};
  for (const int kind : {6, 7, 8}) {
    s.kind = kind;
    EXPECT_FALSE(g.SetSettings(s));
  }
  s.kind = 7;
  s.points = one;
  s.xMin = 5;
  s.xMax = 9;
  EXPECT_TRUE(g.SetSettings(s));
  EXPECT_EQ(g.XMin(), 0);  // kinds 7 and 8 start x at 0
}

TEST(CGraphDraw, OrderColoursAndLabels) {
  std::vector<GraphPoint> points{{0, 0}, {5, 5}, {10, -5}};
  CGraph g;
  Configure(g, points);
  g.SetAverage(2.5);
  g.ShowAverage(true);
  g.SetLimits(8, -8);
  g.ShowLimits(true);
  test::RecordingCanvas c;
  g.Draw(c);
  const auto& p = c.Primitives();
  const PixelRect plot = g.PlotArea();
  ASSERT_EQ(plot, (PixelRect{126, 48, 567, 388}));

  ASSERT_GT(p.size(), 20u);
  EXPECT_EQ(p[0].op, Op::FillRect);
  EXPECT_EQ(p[0].rect, (RectF{0, 0, 700, 500}));
  EXPECT_EQ(p[0].brush.colour, kBackground);
  EXPECT_EQ(p[1].op, Op::DrawRect);
  EXPECT_EQ(p[1].rect, (RectF{126, 48, 567, 388}));
  EXPECT_EQ(p[1].pen.colour, kForeground);
  for (int i = 2; i < 20; ++i) {
    EXPECT_EQ(p[i].op, Op::Line);
    EXPECT_EQ(p[i].pen.colour, kForeground);
  }
  EXPECT_EQ(p[2].points[0], (PointF{126 + 56, 48}));  // first tenth of 567 pixels

  std::vector<std::string> texts = c.Texts();
  const std::vector<std::string> expected{
      "Title", "Sub",   "Time",  "Power",  "0",      "10",     "10 dBm", "8 dBm",   "6 dBm",
      "4 dBm", "2 dBm", "0 dBm", "-2 dBm", "-4 dBm", "-6 dBm", "-8 dBm", "-10 dBm", "Avg. : 2.50 dBm"};
  EXPECT_EQ(texts, expected);
  const auto* title = c.FindText("Title");
  EXPECT_EQ(title->rect, (RectF{126, 16, 567, 16}));
  EXPECT_TRUE(title->format.elide);
  EXPECT_EQ(title->format.horizontal, HAlign::Centre);
  EXPECT_EQ(c.FindText("Sub")->rect.y, 48 - 16);
  EXPECT_EQ(c.FindText("Time")->rect.y, 500 - 32);
  const auto* ylabel = c.FindText("Power");
  EXPECT_EQ(ylabel->op, Op::Text);
  EXPECT_EQ(ylabel->font.angleDegrees, 90);
  EXPECT_EQ(ylabel->font.face, "Arial");
  EXPECT_EQ(ylabel->font.pixelHeight, 13);
  // The y value labels' boxes hold just their texts and leave the upward
  // label whole.
  const double labelRight = ylabel->points[0].x + 1.2 * ylabel->font.pixelHeight;
  for (auto it = p.begin() + (ylabel - p.data()) + 1; it != p.end(); ++it) {
    if (it->op == Op::FillRect) {
      EXPECT_GE(it->rect.x, labelRight) << it->rect.x;
    }
  }
  EXPECT_EQ(c.FindText("0")->rect, (RectF{126, 500 - 48, 56, 16}));
  EXPECT_EQ(c.FindText("10")->format.horizontal, HAlign::Right);
  EXPECT_EQ(c.FindText("10 dBm")->format.horizontal, HAlign::Right);
  EXPECT_EQ(c.FindText("-10 dBm")->rect.y + 8, 48 + 388);
  const auto* avgText = c.FindText("Avg. : 2.50 dBm");
  EXPECT_EQ(avgText->colour, MakeRgb(0, 220, 0));

  // After the texts: average line, data, then the two limit lines.
  const auto lines = c.OfKind(Op::Line);
  ASSERT_EQ(lines.size(), 18u + 3u);
  const double avgY = std::trunc(436 - 12.5 * 19.4);
  EXPECT_EQ(lines[18]->pen.colour, MakeRgb(0, 220, 0));
  EXPECT_EQ(lines[18]->points, (std::vector<PointF>{{126, avgY}, {693, avgY}}));
  EXPECT_EQ(lines[19]->pen.colour, MakeRgb(255, 0, 0));
  EXPECT_EQ(lines[19]->points[0].y, std::trunc(436 - 18 * 19.4));
  EXPECT_EQ(lines[20]->points[0].y, std::trunc(436 - 2 * 19.4));
  ASSERT_EQ(p.back().op, Op::Line);
  const auto polylines = c.OfKind(Op::Polyline);
  ASSERT_EQ(polylines.size(), 1u);
  EXPECT_EQ(polylines[0]->pen.colour, MakeRgb(255, 255, 0));
  EXPECT_LT(polylines[0], lines[19]);
  EXPECT_GT(polylines[0], avgText);
}

TEST(CGraphDraw, DataIsSkippedClampedAndJoined) {
  std::vector<GraphPoint> points{{-1, 0}, {0, 100}, {2.5f, 0}, {11, 0}, {10, -100}, {5, std::nanf("")}};
  CGraph g;
  Configure(g, points);
  test::RecordingCanvas c;
  g.Draw(c);
  const auto polylines = c.OfKind(Op::Polyline);
  ASSERT_EQ(polylines.size(), 1u);
  // x outside 0 … 10 is skipped; y beyond ±10 is held at the edges.
  EXPECT_EQ(polylines[0]->points, (std::vector<PointF>{{126, 48}, {126 + 141, 48 + 194}, {693, 436}}));

  // One point on a 0 … 1 axis: a dot-length line at the left edge.
  std::vector<GraphPoint> one{{0, 0}};
  GraphSettings s = g.Settings();
  s.points = one;
  s.xMin = 0;
  s.xMax = 1;
  ASSERT_TRUE(g.SetSettings(s));
  c.Clear();
  g.Draw(c);
  ASSERT_EQ(c.OfKind(Op::Polyline).size(), 1u);
  EXPECT_EQ(c.OfKind(Op::Polyline)[0]->points, (std::vector<PointF>{{126, 242}, {126, 242}}));
}

TEST(CGraphDraw, LimitsOutsideTheRangeAndPrintScheme) {
  std::vector<GraphPoint> points{{0, 0}, {10, 1}};
  CGraph g;
  Configure(g, points);
  g.SetLimits(10.5, -10);  // above the range: not drawn; on the edge: drawn
  g.ShowLimits(true);
  g.SetColourScheme(graph::kPrintScheme);
  g.SetPosition(0, 0, 5000, 4000);
  g.SetFont("Arial", 10);
  test::RecordingCanvas printer(600);
  g.Draw(printer);
  const auto& p = printer.Primitives();
  EXPECT_EQ(p[0].brush.colour, MakeRgb(255, 255, 255));
  const Argb black = MakeRgb(0, 0, 0);
  int limitLines = 0;
  for (const auto& prim : p) {
    if (prim.op == Op::FillRect) {
      EXPECT_EQ(prim.brush.colour, MakeRgb(255, 255, 255));
    } else if (prim.op == Op::Text || prim.op == Op::TextInBox) {
      EXPECT_EQ(prim.colour, black) << prim.text;
      EXPECT_EQ(prim.font.pixelHeight, 83);  // 10 points at 600 dpi
    } else {
      EXPECT_EQ(prim.pen.colour, black);
    }
  }
  for (const auto* line : printer.OfKind(Op::Line)) {
    if (line->points[0].y == g.PlotArea().Bottom() && line->points[1].x == g.PlotArea().Right()) ++limitLines;
  }
  EXPECT_EQ(limitLines, 1);
  EXPECT_EQ(printer.OfKind(Op::Line).size(), 18u + 1u);
}

// The pixels a one-pixel line through the vertices covers.
std::set<std::pair<int, int>> Rasterise(const std::vector<PointF>& vertices) {
  std::set<std::pair<int, int>> pixels;
  for (std::size_t i = 0; i + 1 < vertices.size(); ++i) {
    int x0 = static_cast<int>(vertices[i].x), y0 = static_cast<int>(vertices[i].y);
    const int x1 = static_cast<int>(vertices[i + 1].x), y1 = static_cast<int>(vertices[i + 1].y);
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (true) {
      pixels.insert({x0, y0});
      if (x0 == x1 && y0 == y1) break;
      const int e2 = 2 * err;
      if (e2 >= dy) err += dy, x0 += sx;
      if (e2 <= dx) err += dx, y0 += sy;
    }
  }
  return pixels;
}

TEST(PixelPolylineTest, ReducedLineCoversTheSamePixels) {
  std::mt19937 random(3);
  std::normal_distribution<double> step(0, 4);
  std::vector<PointF> full;
  PixelPolyline reduced;
  double y = 200;
  for (int i = 0; i < 100000; ++i) {
    y = std::clamp(y + step(random), 0.0, 400.0);
    const int x = i * 500 / 100000;
    full.push_back({double(x), std::trunc(y)});
    reduced.Add(x, static_cast<int>(y));
  }
  const auto& vertices = reduced.Finish();
  EXPECT_LE(vertices.size(), 4u * 500u);
  EXPECT_EQ(vertices.front(), full.front());
  EXPECT_EQ(vertices.back(), full.back());
  EXPECT_EQ(Rasterise(vertices), Rasterise(full));
}

}  // namespace
}  // namespace wattrix
