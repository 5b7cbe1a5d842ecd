#include "core/report/PdfCanvas.h"
#include "core/report/PdfDocument.h"
#include "core/report/RecordedPage.h"
#include "support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace wattrix {
namespace {

std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (auto pos = text.find(piece); pos != std::string::npos; pos = text.find(piece, pos + 1)) ++n;
  return n;
}

TEST(PdfWriter, CrossReferencePointsAtEveryObject) {
  PdfDocument pdf(595.276, 841.89);
  pdf.SetTitle("R\xC3\xA9sum\xC3\xA9 \xF0\x9F\x93\xA1");
  pdf.AddPage("0 0 m 10 10 l S");
  pdf.AddPage("");
  const std::string bytes = pdf.Bytes();
  ASSERT_EQ(bytes.rfind("%PDF-1.4\n", 0), 0u);
  ASSERT_EQ(bytes.substr(bytes.size() - 6), "%%EOF\n");

  const auto startxref = bytes.rfind("startxref\n");
  ASSERT_NE(startxref, std::string::npos);
  const std::size_t xref = std::stoul(bytes.substr(startxref + 10));
  ASSERT_EQ(bytes.compare(xref, 5, "xref\n"), 0);
  std::smatch header;
  const std::string table = bytes.substr(xref);
  ASSERT_TRUE(std::regex_search(table, header, std::regex("^xref\n0 (\\d+)\n")));
  const int entries = std::stoi(header[1]);
  EXPECT_EQ(entries, 11);  // free entry, 6 shared objects, 2 per page
  std::size_t line = header.length(0);
  EXPECT_EQ(table.substr(line, 20), "0000000000 65535 f \n");
  for (int object = 1; object < entries; ++object) {
    const std::string entry = table.substr(line + 20 * static_cast<std::size_t>(object), 20);
    ASSERT_EQ(entry.substr(10), " 00000 n \n") << entry;
    const std::size_t offset = std::stoul(entry.substr(0, 10));
    EXPECT_EQ(bytes.compare(offset, std::to_string(object).size() + 6, std::to_string(object) + " 0 obj"), 0)
        << "object " << object;
  }
  // Stream lengths are the bytes between the keywords.
  EXPECT_NE(bytes.find("<< /Length 15 >>\nstream\n0 0 m 10 10 l S\nendstream"), std::string::npos);
  EXPECT_NE(bytes.find("/Count 2"), std::string::npos);
  // The title as UTF-16 with a surrogate pair.
  EXPECT_NE(bytes.find("/Title <FEFF005200E900730075006D00E90020D83DDCE1>"), std::string::npos);
  EXPECT_EQ(Count(bytes, "/Widths ["), 3u);
}

TEST(PdfWriter, CanvasWritesTextInTheStandardEncodingUpright) {
  PdfCanvas canvas(600, 28.5, 41.89, 841.89);
  canvas.DrawText("Tom's (x) \\ \xC3\xA9\xE2\x82\xAC\xD0\x96", PointF{100, 200}, Font{"Arial", 50, 700, 0},
                  MakeRgb(255, 0, 0));
  canvas.DrawText("Up", PointF{10, 500}, Font{"Arial", 50, 400, 90}, MakeRgb(0, 0, 0));
  const std::string content = canvas.Content();
  // Device pixels of 1/600 inch, y downwards from the area's corner.
  EXPECT_EQ(content.rfind("q 0.12 0 0 -0.12 28.5 800 cm", 0), 0u);
  EXPECT_NE(content.find("/F2 50 Tf 1 0 0 rg 1 0 0 -1 100 245.264 Tm (Tom's \\(x\\) \\\\ \\351\\200?) Tj"),
            std::string::npos)
      << content;
  // Turned text runs upwards; its baseline lies one ascent to the right.
  EXPECT_NE(content.find("/F1 50 Tf 0 0 0 rg 0 -1 -1 0 55.264 500 Tm (Up) Tj"), std::string::npos) << content;
  EXPECT_EQ(content.substr(content.size() - 1), "Q");
  EXPECT_EQ(Count(content, "q "), Count(content, "Q"));

  canvas.SetClip(RectF{0, 0, 10, 10});
  canvas.SetClip(RectF{0, 0, 20, 20});
  EXPECT_EQ(Count(canvas.Content(), "q "), Count(canvas.Content(), "Q"));
  canvas.ResetClip();
  EXPECT_EQ(Count(canvas.Content(), "q "), Count(canvas.Content(), "Q"));
}

TEST(PdfWriter, RecordedPagePlaysBackEveryPrimitiveInOrder) {
  RecordedPage page(600);
  const std::vector<PointF> line{{0, 0}, {5, 5}, {9, 1}};
  page.FillRect(RectF{1, 2, 3, 4}, Brush::Solid(MakeRgb(1, 2, 3)));
  page.DrawPolyline(line, Pen{MakeRgb(0, 0, 0), 3});
  page.DrawTextInBox("box", RectF{0, 0, 50, 10}, Font{}, MakeRgb(9, 9, 9), TextFormat{HAlign::Right});
  page.SetClip(RectF{0, 0, 1, 1});
  page.DrawText("t", PointF{7, 8}, Font{}, MakeRgb(0, 0, 0));
  page.ResetClip();
  // Measuring uses the standard widths, as the PDF writer does.
  EXPECT_DOUBLE_EQ(page.MeasureText("Aa", Font{"Arial", 1000, 400, 0}).width, 667 + 556);

  test::RecordingCanvas target;
  page.Replay(target);
  using Op = test::RecordingCanvas::Op;
  std::vector<Op> ops;
  for (const auto& p : target.Primitives()) ops.push_back(p.op);
  EXPECT_EQ(ops,
            (std::vector<Op>{Op::FillRect, Op::Polyline, Op::TextInBox, Op::Clip, Op::Text, Op::ResetClip}));
  EXPECT_EQ(target.Primitives()[1].points, line);
  EXPECT_DOUBLE_EQ(target.Primitives()[1].pen.width, 3);
  EXPECT_EQ(target.Primitives()[2].format.horizontal, HAlign::Right);
  EXPECT_EQ(target.Primitives()[4].points[0], (PointF{7, 8}));
}

}  // namespace
}  // namespace wattrix
