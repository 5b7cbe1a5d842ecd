#include "core/report/ReportPage.h"

#include "core/graph/CGraph.h"
#include "core/report/TextWrap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace wattrix {

namespace {

constexpr Argb kInk = MakeRgb(0, 0, 0);
// Character heights in grid rows: the heading three, the rest so that a
// line sits inside a row three units high with room above and below.
constexpr double kHeadingRows = 3.0;
constexpr double kTextRows = 1.25;
// Steps by which a text that does not fit its box is made smaller.
constexpr std::array<double, 5> kShrinkSteps{1.0, 0.9, 0.8, 0.7, 0.6};
constexpr const char* kEllipsis = "\xE2\x80\xA6";

double MillimetresToPixels(double mm, int dpi) { return mm * dpi / 25.4; }

// Puts the engine back as the screen had it, however the drawing ends.
class SavedGraphState final {
 public:
  explicit SavedGraphState(CGraph& graph)
      : m_graph(graph),
        m_face(graph.FontFace()),
        m_points(graph.FontPoints()),
        m_scheme(graph.ColourScheme()),
        m_area(graph.Area()),
        m_lineWidth(graph.DataLineWidth()) {}
  ~SavedGraphState() {
    m_graph.SetFont(m_face, m_points);
    m_graph.SetColourScheme(m_scheme);
    m_graph.SetDataLineWidth(m_lineWidth);
    m_graph.SetPosition(m_area.left, m_area.top, m_area.width, m_area.height);
  }
  SavedGraphState(const SavedGraphState&) = delete;
  SavedGraphState& operator=(const SavedGraphState&) = delete;

 private:
  CGraph& m_graph;
  std::string m_face;
  double m_points;
  int m_scheme;
  PixelRect m_area;
  double m_lineWidth;
};

}  // namespace

ReportPage::ReportPage(Canvas& canvas, const RectF& printable)
    : m_canvas(canvas), m_printable(printable), m_u(printable.width / 100.0), m_v(printable.height / 100.0) {}

PointF ReportPage::At(double gx, double gy) const {
  return PointF{m_printable.x + gx * m_u, m_printable.y + gy * m_v};
}

RectF ReportPage::Box(double gx0, double gy0, double gx1, double gy1) const {
  const PointF a = At(gx0, gy0);
  const PointF b = At(gx1, gy1);
  return RectF{a.x, a.y, b.x - a.x, b.y - a.y};
}

Font ReportPage::TextFont() const { return Font{"Arial", kTextRows * m_v, 400, 0}; }

Font ReportPage::HeadingFont() const { return Font{"Arial", kHeadingRows * m_v, 700, 0}; }

Pen ReportPage::RulePen() const {
  // A fine line of 0.2 mm, and never less than one device pixel.
  return Pen{kInk, std::max(1.0, MillimetresToPixels(0.2, m_canvas.DpiY()))};
}

void ReportPage::DrawLine(double gx0, double gy0, double gx1, double gy1) {
  m_canvas.DrawLine(At(gx0, gy0), At(gx1, gy1), RulePen());
}

void ReportPage::DrawFrame(double gx0, double gy0, double gx1, double gy1) {
  const std::array<PointF, 4> corners{At(gx0, gy0), At(gx1, gy0), At(gx1, gy1), At(gx0, gy1)};
  m_canvas.DrawPolygon(corners, RulePen());
}

void ReportPage::DrawBoxes() {
  // Header block of three rows with the label column and the date label.
  DrawFrame(3, 10, 97, 19);
  DrawLine(3, 13, 97, 13);
  DrawLine(3, 16, 97, 16);
  DrawLine(22, 10, 22, 19);
  DrawLine(69, 13, 69, 16);
  DrawLine(75, 13, 75, 16);
  DrawFrame(3, 23, 97, 30);
  DrawFrame(3, 73, 97, 90);
  DrawFrame(3, 93, 97, 100);
}

void ReportPage::DrawHeading() { m_canvas.DrawText(report::kHeading, At(30, 5), HeadingFont(), kInk); }

void ReportPage::DrawLabel(const char* label, double gx, double gy) {
  m_canvas.DrawText(label, At(gx, gy), TextFont(), kInk);
}

void ReportPage::DrawValue(const std::string& text, double gx, double gy, double gxEnd) {
  if (text.empty()) return;
  const double width = (gxEnd - gx) * m_u;
  Font font = TextFont();
  for (const double step : kShrinkSteps) {
    font.pixelHeight = TextFont().pixelHeight * step;
    if (m_canvas.MeasureText(text, font).width <= width) break;
  }
  const auto measure = [&](std::string_view piece) {
    return m_canvas.MeasureText(std::string(piece), font).width;
  };
  // A smaller font keeps the line centred on the row of the labels.
  PointF at = At(gx, gy);
  at.y += (TextFont().pixelHeight - font.pixelHeight) / 2;
  m_canvas.DrawText(ElideText(text, width, measure, kEllipsis), at, font, kInk);
}

void ReportPage::DrawWrapped(const std::string& text, double gx0, double gy0, double gx1, double gy1) {
  if (text.empty()) return;
  const RectF inner = Box(gx0 + 2, gy0 + 1, gx1 - 2, gy1 - 1);
  Font font = TextFont();
  std::vector<std::string> lines;
  double lineHeight = 0;
  for (const double step : kShrinkSteps) {
    font.pixelHeight = TextFont().pixelHeight * step;
    const auto measure = [&](std::string_view piece) {
      return m_canvas.MeasureText(std::string(piece), font).width;
    };
    lines = WrapText(text, inner.width, measure);
    lineHeight = m_canvas.Metrics(font).height;
    if (static_cast<double>(lines.size()) * lineHeight <= inner.height + 0.5) break;
  }
  const auto fitting = static_cast<std::size_t>(std::max(1.0, std::floor((inner.height + 0.5) / lineHeight)));
  if (lines.size() > fitting) {
    // What does not fit even in the smallest font ends in an ellipsis.
    lines.resize(fitting);
    const auto measure = [&](std::string_view piece) {
      return m_canvas.MeasureText(std::string(piece), font).width;
    };
    lines.back() = ElideText(lines.back() + kEllipsis, inner.width, measure, kEllipsis);
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    m_canvas.DrawText(lines[i], PointF{inner.x, inner.y + static_cast<double>(i) * lineHeight}, font, kInk);
  }
}

void ReportPage::DrawFields(const ReportFields& f) {
  DrawLabel("Title", 5, 11);
  DrawValue(f.title, 23, 11, 96);
  DrawLabel("Engineer", 5, 14);
  DrawValue(f.engineer, 23, 14, 68.5);
  DrawLabel("Date", 70, 14);
  DrawValue(f.date, 76, 14, 96);
  DrawLabel("Site Information", 5, 17);
  DrawValue(f.site, 23, 17, 96);
  DrawLabel("Test Purpose", 3, 21);
  DrawWrapped(f.purpose, 3, 23, 97, 30);
  DrawLabel(report::kDataLabel, 3, 31);
  DrawLabel("Result", 3, 71);
  DrawWrapped(f.result, 3, 73, 97, 90);
  DrawLabel("Remark", 3, 91);
  DrawWrapped(f.remark, 3, 93, 97, 100);
}

void ReportPage::DrawChart(CGraph& graph) {
  SavedGraphState saved(graph);
  // The chart area less one unit at the top, the bottom and the right.
  const RectF area = Box(3, 34, 96, 69);
  graph.SetFont("Arial", 10);
  graph.SetColourScheme(graph::kPrintScheme);
  graph.SetDataLineWidth(std::max(1.0, MillimetresToPixels(0.25, m_canvas.DpiY())));
  graph.SetPosition(static_cast<int>(std::lround(area.x)), static_cast<int>(std::lround(area.y)),
                    static_cast<int>(std::lround(area.width)), static_cast<int>(std::lround(area.height)));
  graph.Draw(m_canvas);
}

bool ReportPage::Draw(const ReportFields& fields, CGraph* graph, const KeepGoing& keepGoing) {
  const auto goOn = [&] { return !keepGoing || keepGoing(); };
  if (!goOn()) return false;
  DrawBoxes();
  if (!goOn()) return false;
  DrawHeading();
  DrawFields(fields);
  if (!goOn()) return false;
  if (graph) DrawChart(*graph);
  return goOn();
}

}  // namespace wattrix
