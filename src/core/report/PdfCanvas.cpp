#include "core/report/PdfCanvas.h"

#include "core/report/PdfDocument.h"
#include "core/report/StandardFonts.h"
#include "core/report/TextWrap.h"

#include <algorithm>
#include <cmath>

namespace wattrix {

namespace {

std::string Colour(Argb c) {
  return PdfNumber(RedOf(c) / 255.0) + " " + PdfNumber(GreenOf(c) / 255.0) + " " +
         PdfNumber(BlueOf(c) / 255.0);
}

// A literal string of WinAnsi bytes.
std::string Literal(const std::string& bytes) {
  std::string out = "(";
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b == '(' || b == ')' || b == '\\') {
      out += '\\';
      out += ch;
    } else if (b < 32 || b >= 127) {
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", b);
      out += octal;
    } else {
      out += ch;
    }
  }
  return out + ")";
}

const char* FontName(const Font& font) {
  switch (StandardFaceOf(font)) {
    case StandardFace::SansBold:
      return PdfDocument::kSansBoldFont;
    case StandardFace::Mono:
      return PdfDocument::kMonoFont;
    case StandardFace::Sans:
      break;
  }
  return PdfDocument::kSansFont;
}

constexpr double kPi = 3.14159265358979323846;

}  // namespace

PdfCanvas::PdfCanvas(int dpi, double leftPoints, double topPoints, double pageHeightPoints)
    : m_dpi(dpi > 0 ? dpi : 72) {
  // Device pixels, y downwards, from the drawing area's corner.
  const double scale = 72.0 / m_dpi;
  m_start = "q " + PdfNumber(scale) + " 0 0 " + PdfNumber(-scale) + " " + PdfNumber(leftPoints) + " " +
            PdfNumber(pageHeightPoints - topPoints) + " cm 1 j\n";
}

std::string PdfCanvas::Content() const { return m_start + m_body + (m_clipped ? "Q\n" : "") + "Q"; }

void PdfCanvas::Stroke(const Pen& pen) {
  m_body += Colour(pen.colour) + " RG " + PdfNumber(std::max(0.5, pen.width)) + " w S\n";
}

void PdfCanvas::Fill(const Brush& brush) {
  // A gradient is laid down in the mean of its two colours.
  Argb c = brush.colour;
  if (brush.kind == Brush::Kind::LinearGradient) {
    c = MakeRgb((RedOf(brush.colour) + RedOf(brush.colour2)) / 2,
                (GreenOf(brush.colour) + GreenOf(brush.colour2)) / 2,
                (BlueOf(brush.colour) + BlueOf(brush.colour2)) / 2);
  }
  m_body += Colour(c) + " rg f\n";
}

void PdfCanvas::Point(const char* op, double x, double y) {
  m_body += PdfNumber(x) + " " + PdfNumber(y) + " " + op + "\n";
}

void PdfCanvas::DrawLine(PointF from, PointF to, const Pen& pen) {
  Point("m", from.x, from.y);
  Point("l", to.x, to.y);
  Stroke(pen);
}

void PdfCanvas::DrawPolyline(std::span<const PointF> points, const Pen& pen) {
  if (points.empty()) return;
  if (points.size() == 1) {
    // A single point shows as a dot of the pen's width.
    m_body += "1 J ";
    Point("m", points[0].x, points[0].y);
    Point("l", points[0].x, points[0].y);
    Stroke(pen);
    m_body += "0 J\n";
    return;
  }
  Point("m", points[0].x, points[0].y);
  for (std::size_t i = 1; i < points.size(); ++i) Point("l", points[i].x, points[i].y);
  Stroke(pen);
}

void PdfCanvas::FillRect(const RectF& r, const Brush& brush) {
  m_body +=
      PdfNumber(r.x) + " " + PdfNumber(r.y) + " " + PdfNumber(r.width) + " " + PdfNumber(r.height) + " re ";
  Fill(brush);
}

void PdfCanvas::DrawRect(const RectF& r, const Pen& pen) {
  // The outline lies inside the area, as on the screen.
  const double inset = std::max(0.5, pen.width) / 2;
  m_body += PdfNumber(r.x + inset) + " " + PdfNumber(r.y + inset) + " " + PdfNumber(r.width - 2 * inset) +
            " " + PdfNumber(r.height - 2 * inset) + " re ";
  Stroke(pen);
}

void PdfCanvas::ArcPath(const RectF& r, double startDegrees, double sweepDegrees) {
  // Cubic Bézier pieces of at most 90 degrees.
  const double cx = r.x + r.width / 2, cy = r.y + r.height / 2, rx = r.width / 2, ry = r.height / 2;
  const int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(sweepDegrees) / 90.0)));
  const double step = sweepDegrees / pieces * kPi / 180.0;
  double a = startDegrees * kPi / 180.0;
  const double k = 4.0 / 3.0 * std::tan(step / 4);
  Point("m", cx + rx * std::cos(a), cy + ry * std::sin(a));
  for (int i = 0; i < pieces; ++i) {
    const double b = a + step;
    m_body += PdfNumber(cx + rx * (std::cos(a) - k * std::sin(a))) + " " +
              PdfNumber(cy + ry * (std::sin(a) + k * std::cos(a))) + " " +
              PdfNumber(cx + rx * (std::cos(b) + k * std::sin(b))) + " " +
              PdfNumber(cy + ry * (std::sin(b) - k * std::cos(b))) + " " + PdfNumber(cx + rx * std::cos(b)) +
              " " + PdfNumber(cy + ry * std::sin(b)) + " c\n";
    a = b;
  }
}

void PdfCanvas::EllipsePath(const RectF& r) {
  ArcPath(r, 0, 360);
  m_body += "h ";
}

void PdfCanvas::FillEllipse(const RectF& r, const Brush& brush) {
  EllipsePath(r);
  Fill(brush);
}

void PdfCanvas::DrawEllipse(const RectF& r, const Pen& pen) {
  EllipsePath(r);
  Stroke(pen);
}

void PdfCanvas::DrawArc(const RectF& r, double startDegrees, double sweepDegrees, const Pen& pen) {
  ArcPath(r, startDegrees, sweepDegrees);
  Stroke(pen);
}

void PdfCanvas::FillPolygon(std::span<const PointF> points, const Brush& brush) {
  if (points.empty()) return;
  Point("m", points[0].x, points[0].y);
  for (std::size_t i = 1; i < points.size(); ++i) Point("l", points[i].x, points[i].y);
  m_body += "h ";
  Fill(brush);
}

void PdfCanvas::DrawPolygon(std::span<const PointF> points, const Pen& pen) {
  if (points.empty()) return;
  Point("m", points[0].x, points[0].y);
  for (std::size_t i = 1; i < points.size(); ++i) Point("l", points[i].x, points[i].y);
  m_body += "h ";
  Stroke(pen);
}

void PdfCanvas::DrawText(const std::string& text, PointF topLeft, const Font& font, Argb colour) {
  if (text.empty()) return;
  const double ascent = kStandardAscent * font.pixelHeight;
  // The text matrix sets the glyphs upright again in the flipped space and
  // turns them counter-clockwise about topLeft; the baseline lies one
  // ascent below it.
  const double a = font.angleDegrees * kPi / 180.0;
  const double c = std::cos(a), s = std::sin(a);
  const std::string matrix = PdfNumber(c) + " " + PdfNumber(-s) + " " + PdfNumber(-s) + " " + PdfNumber(-c) +
                             " " + PdfNumber(topLeft.x + s * ascent) + " " +
                             PdfNumber(topLeft.y + c * ascent);
  m_body += "BT /" + std::string(FontName(font)) + " " + PdfNumber(font.pixelHeight) + " Tf " +
            Colour(colour) + " rg " + matrix + " Tm " + Literal(ToWinAnsi(text)) + " Tj ET\n";
}

void PdfCanvas::DrawTextInBox(const std::string& text, const RectF& box, const Font& font, Argb colour,
                              const TextFormat& format) {
  const auto measure = [&](std::string_view piece) { return StandardTextSize(piece, font).width; };
  std::vector<std::string> lines;
  if (format.singleLine) {
    lines.push_back(format.elide ? ElideText(text, box.width, measure) : text);
  } else {
    lines = WrapText(text, box.width, measure);
  }
  const double lineHeight = Metrics(font).height;
  const double total = lineHeight * static_cast<double>(lines.size());
  double y = box.y;
  if (format.vertical == VAlign::Centre) y += (box.height - total) / 2;
  if (format.vertical == VAlign::Bottom) y += box.height - total;
  if (format.clip) {
    m_body += "q " + PdfNumber(box.x) + " " + PdfNumber(box.y) + " " + PdfNumber(box.width) + " " +
              PdfNumber(box.height) + " re W n\n";
  }
  for (const std::string& line : lines) {
    double x = box.x;
    const double width = measure(line);
    if (format.horizontal == HAlign::Centre) x += (box.width - width) / 2;
    if (format.horizontal == HAlign::Right) x += box.width - width;
    DrawText(line, PointF{x, y}, font, colour);
    y += lineHeight;
  }
  if (format.clip) m_body += "Q\n";
}

SizeF PdfCanvas::MeasureText(const std::string& text, const Font& font) {
  return StandardTextSize(text, font);
}

FontMetrics PdfCanvas::Metrics(const Font& font) { return StandardFontMetrics(font); }

void PdfCanvas::SetClip(const RectF& r) {
  if (m_clipped) m_body += "Q\n";
  m_body += "q " + PdfNumber(r.x) + " " + PdfNumber(r.y) + " " + PdfNumber(r.width) + " " +
            PdfNumber(r.height) + " re W n\n";
  m_clipped = true;
}

void PdfCanvas::ResetClip() {
  if (m_clipped) m_body += "Q\n";
  m_clipped = false;
}

}  // namespace wattrix
