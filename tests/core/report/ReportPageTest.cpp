#include "core/graph/CGraph.h"
#include "core/report/ReportPage.h"
#include "support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace wattrix {
namespace {

using test::RecordingCanvas;
using Op = RecordingCanvas::Op;

constexpr Argb kBlack = MakeRgb(0, 0, 0);
constexpr Argb kWhite = MakeRgb(255, 255, 255);

// 1000 × 1400 pixels from (50, 60): u = 10, v = 14.
const RectF kPrintable{50, 60, 1000, 1400};

std::string Words(std::size_t length) {
  std::string text;
  for (int i = 0; text.size() < length; ++i) text += "word" + std::to_string(i % 97) + " ";
  text.resize(length);
  if (text.back() == ' ') text.back() = 'x';
  return text;
}

// The text primitives whose top-left lies inside a box.
std::vector<const RecordingCanvas::Primitive*> TextsIn(const RecordingCanvas& canvas, const RectF& box) {
  std::vector<const RecordingCanvas::Primitive*> out;
  for (const auto* p : canvas.OfKind(Op::Text)) {
    const PointF at = p->points[0];
    if (at.x >= box.x && at.x < box.Right() && at.y >= box.y && at.y < box.Bottom()) out.push_back(p);
  }
  return out;
}

// Checks that every line of a wrapped text lies inside the box's inner
// margins and that the lines hold the whole text; returns the lines.
std::vector<std::string> ExpectWrappedInside(RecordingCanvas& canvas, const ReportPage& page, double gx0,
                                             double gy0, double gx1, double gy1) {
  const RectF inner = page.Box(gx0 + 2, gy0 + 1, gx1 - 2, gy1 - 1);
  std::vector<std::string> lines;
  for (const auto* p : TextsIn(canvas, page.Box(gx0, gy0, gx1, gy1))) {
    const PointF at = p->points[0];
    EXPECT_GE(at.x, inner.x - 1e-9);
    EXPECT_LE(at.x + canvas.MeasureText(p->text, p->font).width, inner.Right() + 1e-9) << p->text;
    EXPECT_GE(at.y, inner.y - 1e-9);
    EXPECT_LE(at.y + canvas.Metrics(p->font).height, inner.Bottom() + 0.5 + 1e-9) << p->text;
    lines.push_back(p->text);
  }
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) out += (out.empty() ? "" : " ") + line;
  return out;
}

TEST(ReportPage, RulesTheBoxesAndPlacesTextsOnTheGrid) {
  RecordingCanvas canvas;
  ReportPage page(canvas, kPrintable);
  ReportFields fields{"Antenna A", " 2026,03,07 AM 9:05", "Ines", "Mast 4", "Check", "Fine", "None"};
  ASSERT_TRUE(page.Draw(fields, nullptr));

  const auto frames = canvas.OfKind(Op::DrawPolygon);
  ASSERT_EQ(frames.size(), 4u);
  const std::vector<PointF> header{{80, 200}, {1020, 200}, {1020, 326}, {80, 326}};
  EXPECT_EQ(frames[0]->points, header);
  EXPECT_EQ(frames[1]->points[0], (PointF{80, 382}));    // test purpose (3, 23)
  EXPECT_EQ(frames[1]->points[2], (PointF{1020, 480}));  // … to (97, 30)
  EXPECT_EQ(frames[2]->points[0], (PointF{80, 1082}));   // result (3, 73)
  EXPECT_EQ(frames[2]->points[2], (PointF{1020, 1320}));
  EXPECT_EQ(frames[3]->points[2], (PointF{1020, 1460}));  // remark to (97, 100)
  // Row lines at 13 and 16, the label column at 22 and the date cell at 69 and 75.
  std::vector<std::vector<PointF>> lines;
  for (const auto* p : canvas.OfKind(Op::Line)) lines.push_back(p->points);
  const std::vector<std::vector<PointF>> expected{{{80, 242}, {1020, 242}},
                                                  {{80, 284}, {1020, 284}},
                                                  {{270, 200}, {270, 326}},
                                                  {{740, 242}, {740, 284}},
                                                  {{800, 242}, {800, 284}}};
  EXPECT_EQ(lines, expected);

  const auto* heading = canvas.FindText("Measurement Report");
  ASSERT_NE(heading, nullptr);
  EXPECT_EQ(heading->points[0], (PointF{350, 130}));
  EXPECT_DOUBLE_EQ(heading->font.pixelHeight, 42);  // three rows
  EXPECT_EQ(heading->font.weight, 700);
  const auto at = [&](const std::string& text) {
    const auto* p = canvas.FindText(text);
    return p ? p->points[0] : PointF{-1, -1};
  };
  EXPECT_EQ(at("Title"), (PointF{100, 214}));
  EXPECT_EQ(at("Antenna A"), (PointF{280, 214}));
  EXPECT_EQ(at("Engineer"), (PointF{100, 256}));
  EXPECT_EQ(at("Ines"), (PointF{280, 256}));
  EXPECT_EQ(at("Date"), (PointF{750, 256}));
  EXPECT_EQ(at(" 2026,03,07 AM 9:05"), (PointF{810, 256}));
  EXPECT_EQ(at("Site Information"), (PointF{100, 298}));
  EXPECT_EQ(at("Mast 4"), (PointF{280, 298}));
  EXPECT_EQ(at("Test Purpose"), (PointF{80, 354}));
  EXPECT_EQ(at("Measurement Data"), (PointF{80, 494}));
  EXPECT_EQ(at("Result"), (PointF{80, 1054}));
  EXPECT_EQ(at("Remark"), (PointF{80, 1334}));
  // Texts inside boxes start at the inner margin: 2 units in, 1 unit down.
  EXPECT_EQ(at("Check"), (PointF{100, 396}));
  EXPECT_EQ(at("Fine"), (PointF{100, 1096}));
  EXPECT_EQ(at("None"), (PointF{100, 1376}));
  for (const auto* p : canvas.OfKind(Op::Text)) {
    EXPECT_EQ(p->colour, kBlack);
    // Labels and values fit the rows of three units.
    if (p != heading) {
      EXPECT_LE(canvas.Metrics(p->font).height, 2 * page.V());
    }
  }
}

TEST(ReportPage, EmptyFieldsPrintTheirLabelsOnly) {
  RecordingCanvas canvas;
  ReportPage page(canvas, kPrintable);
  ASSERT_TRUE(page.Draw(ReportFields{}, nullptr));
  const std::vector<std::string> expected{
      "Measurement Report", "Title",  "Engineer", "Date", "Site Information", "Test Purpose",
      "Measurement Data",   "Result", "Remark"};
  EXPECT_EQ(canvas.Texts(), expected);
  EXPECT_EQ(canvas.OfKind(Op::DrawPolygon).size(), 4u);
}

TEST(ReportPage, ResultOfSevenHundredCharactersWrapsInsideItsBox) {
  RecordingCanvas canvas;
  ReportPage page(canvas, kPrintable);
  ReportFields fields;
  fields.result = Words(700);
  fields.purpose = Words(200);
  fields.remark = Words(200);
  page.DrawFields(fields);
  const auto result = ExpectWrappedInside(canvas, page, 3, 73, 97, 90);
  EXPECT_GT(result.size(), 5u);
  EXPECT_EQ(Joined(result), fields.result);
  EXPECT_EQ(Joined(ExpectWrappedInside(canvas, page, 3, 23, 97, 30)), fields.purpose);
  EXPECT_EQ(Joined(ExpectWrappedInside(canvas, page, 3, 93, 97, 100)), fields.remark);
}

TEST(ReportPage, TextsTooLongForTheirBoxesShrinkThenEndInAnEllipsis) {
  ReportFields fields;
  fields.result = Words(700);
  fields.title = std::string(60, 'W');

  // On a narrow page the result needs a smaller font but stays whole.
  RecordingCanvas narrow;
  ReportPage narrowPage(narrow, RectF{0, 0, 400, 1400});
  narrowPage.DrawFields(fields);
  const auto lines = ExpectWrappedInside(narrow, narrowPage, 3, 73, 97, 90);
  EXPECT_EQ(Joined(lines), fields.result);
  EXPECT_LT(narrow.FindText(lines.front())->font.pixelHeight, narrowPage.TextFont().pixelHeight);
  // The title is made smaller and cut to its row.
  const auto titles = TextsIn(narrow, narrowPage.Box(23, 10, 97, 13));
  ASSERT_EQ(titles.size(), 1u);
  EXPECT_LE(titles[0]->points[0].x + narrow.MeasureText(titles[0]->text, titles[0]->font).width,
            narrowPage.At(96, 0).x + 1e-9);

  // Where even the smallest font cannot hold it, the last line says so.
  RecordingCanvas tiny;
  ReportPage tinyPage(tiny, RectF{0, 0, 100, 1400});
  tinyPage.DrawFields(fields);
  const auto cut = ExpectWrappedInside(tiny, tinyPage, 3, 73, 97, 90);
  ASSERT_FALSE(cut.empty());
  EXPECT_EQ(cut.back().substr(cut.back().size() - 3), "\xE2\x80\xA6");
  EXPECT_LT(Joined(cut).size(), fields.result.size());
}

TEST(ReportPage, ChartIsDrawnInPrintColoursAndTheEngineIsRestored) {
  RecordingCanvas canvas(600);
  ReportPage page(canvas, RectF{0, 0, 4500, 6500});
  CGraph graph;
  graph.SetFont("Verdana", 12);
  graph.SetPosition(5, 6, 640, 420);
  const std::vector<GraphPoint> points{{0, 1}, {1, 5}, {2, 3}};
  GraphSettings settings;
  settings.points = points;
  settings.xMax = 3;
  settings.yMin = 0;
  settings.yMax = 10;
  settings.title = "Graph title";
  ASSERT_TRUE(graph.SetSettings(settings));

  page.DrawChart(graph);

  // Drawn in the chart area (3, 34)-(96, 69) …
  const auto fills = canvas.OfKind(Op::FillRect);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills[0]->rect, (RectF{135, 2210, 4185, 2275}));
  EXPECT_EQ(fills[0]->brush.colour, kWhite);
  // … in black on white, with the 10-point font at the printer's resolution …
  for (const auto* p : canvas.OfKind(Op::Line)) EXPECT_EQ(p->pen.colour, kBlack);
  const auto polylines = canvas.OfKind(Op::Polyline);
  ASSERT_EQ(polylines.size(), 1u);
  EXPECT_EQ(polylines[0]->pen.colour, kBlack);
  EXPECT_GT(polylines[0]->pen.width, 1.0);
  const auto* title = canvas.FindText("Graph title");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->colour, kBlack);
  EXPECT_EQ(title->font.face, "Arial");
  EXPECT_DOUBLE_EQ(title->font.pixelHeight, 83);
  // … and the screen's engine is as it was.
  EXPECT_EQ(graph.ColourScheme(), graph::kScreenScheme);
  EXPECT_EQ(graph.FontFace(), "Verdana");
  EXPECT_DOUBLE_EQ(graph.FontPoints(), 12);
  EXPECT_EQ(graph.Area(), (PixelRect{5, 6, 640, 420}));
  EXPECT_DOUBLE_EQ(graph.DataLineWidth(), 1.0);
}

TEST(ReportPage, StopsBetweenSteps) {
  int calls = 0;
  RecordingCanvas canvas;
  ReportPage page(canvas, kPrintable);
  EXPECT_FALSE(page.Draw(ReportFields{}, nullptr, [&] { return ++calls < 1; }));
  EXPECT_TRUE(canvas.Primitives().empty());
  calls = 0;
  EXPECT_FALSE(page.Draw(ReportFields{}, nullptr, [&] { return ++calls < 2; }));
  EXPECT_FALSE(canvas.OfKind(Op::DrawPolygon).empty());
  EXPECT_TRUE(canvas.Texts().empty());
}

}  // namespace
}  // namespace wattrix
