#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace wattrix {

// 32-bit colour, 0xAARRGGBB. Screen colours of the panels and graphs are
// opaque; the gauge uses alpha.
using Argb = std::uint32_t;

constexpr Argb MakeRgb(int r, int g, int b) {
  return 0xFF000000u | (static_cast<Argb>(r & 0xFF) << 16) | (static_cast<Argb>(g & 0xFF) << 8) |
         static_cast<Argb>(b & 0xFF);
}
constexpr Argb MakeArgb(int a, int r, int g, int b) {
  return (static_cast<Argb>(a & 0xFF) << 24) | (MakeRgb(r, g, b) & 0x00FFFFFFu);
}
constexpr int AlphaOf(Argb c) { return static_cast<int>((c >> 24) & 0xFF); }
constexpr int RedOf(Argb c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int GreenOf(Argb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Argb c) { return static_cast<int>(c & 0xFF); }

struct PointF {
  double x = 0;
  double y = 0;
  friend bool operator==(const PointF&, const PointF&) = default;
};

struct SizeF {
  double width = 0;
  double height = 0;
  friend bool operator==(const SizeF&, const SizeF&) = default;
};

// Axis-aligned rectangle by position and size (x, y is the top-left corner).
struct RectF {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
  double Right() const { return x + width; }
  double Bottom() const { return y + height; }
  friend bool operator==(const RectF&, const RectF&) = default;
};

struct Pen {
  Argb colour = MakeRgb(0, 0, 0);
  double width = 1.0;
  friend bool operator==(const Pen&, const Pen&) = default;
};

// A solid fill, or a linear gradient from `colour` to `colour2` across
// `gradientRect` at `angleDegrees` (clockwise from the x axis).
struct Brush {
  enum class Kind { Solid, LinearGradient };
  Kind kind = Kind::Solid;
  Argb colour = MakeRgb(0, 0, 0);
  Argb colour2 = MakeRgb(0, 0, 0);
  RectF gradientRect{};
  double angleDegrees = 0;

  static Brush Solid(Argb c) { return Brush{Kind::Solid, c, c, {}, 0}; }
  static Brush Gradient(Argb from, Argb to, RectF rect, double angle) {
    return Brush{Kind::LinearGradient, from, to, rect, angle};
  }
  friend bool operator==(const Brush&, const Brush&) = default;
};

// A font by face, character height in device pixels (the em height, as a
// negative height of the platform's logical font), weight (400 normal, 700
// bold) and escapement in degrees (90 writes upwards).
struct Font {
  std::string face = "Arial";
  double pixelHeight = 13;
  int weight = 400;
  double angleDegrees = 0;
  friend bool operator==(const Font&, const Font&) = default;
};

// Height in pixels of a font of `points` on a device with `dpi` pixels per
// inch: points × dpi / 72, rounded to the nearest pixel.
int PointsToPixels(double points, int dpi);

struct FontMetrics {
  double height = 0;             // line height
  double averageCharWidth = 0;   // width of an average character
  double ascent = 0;
};

enum class HAlign { Left, Centre, Right };
enum class VAlign { Top, Centre, Bottom };

struct TextFormat {
  HAlign horizontal = HAlign::Left;
  VAlign vertical = VAlign::Top;
  bool singleLine = true;   // false: word-wrapped inside the box
  bool elide = false;       // cut with an ellipsis when too wide
  bool clip = false;        // clip to the box
  friend bool operator==(const TextFormat&, const TextFormat&) = default;
};

// The drawing surface the engines paint on: a QPainter in the application,
// a recording canvas in the tests. Coordinates are device pixels with y
// growing downwards; angles are degrees clockwise from the positive x axis.
class Canvas {
 public:
  virtual ~Canvas() = default;

  // Vertical pixels per logical inch of the device (96 on screens).
  virtual int DpiY() const = 0;
  // Anti-aliased drawing of the following primitives (the gauge uses it).
  virtual void SetAntialiasing(bool on) = 0;

  virtual void DrawLine(PointF from, PointF to, const Pen& pen) = 0;
  virtual void DrawPolyline(std::span<const PointF> points, const Pen& pen) = 0;
  // Rectangles cover [x, x + width) × [y, y + height); the outline of
  // DrawRect lies on the border pixels inside that area.
  virtual void FillRect(const RectF& rect, const Brush& brush) = 0;
  virtual void DrawRect(const RectF& rect, const Pen& pen) = 0;
  virtual void FillEllipse(const RectF& rect, const Brush& brush) = 0;
  virtual void DrawEllipse(const RectF& rect, const Pen& pen) = 0;
  // Arc of the ellipse in rect from startDegrees over sweepDegrees.
  virtual void DrawArc(const RectF& rect, double startDegrees, double sweepDegrees, const Pen& pen) = 0;
  virtual void FillPolygon(std::span<const PointF> points, const Brush& brush) = 0;
  virtual void DrawPolygon(std::span<const PointF> points, const Pen& pen) = 0;

  // Text with its top-left corner at `topLeft`, no clipping or wrapping.
  // A font with an angle turns the text counter-clockwise about that point
  // (90: the text runs upwards from `topLeft`, letter tops facing left).
  virtual void DrawText(const std::string& text, PointF topLeft, const Font& font, Argb colour) = 0;
  // Text placed in a box by the format's alignment, wrapping and elision.
  virtual void DrawTextInBox(const std::string& text, const RectF& box, const Font& font, Argb colour,
                             const TextFormat& format) = 0;
  virtual SizeF MeasureText(const std::string& text, const Font& font) = 0;
  virtual FontMetrics Metrics(const Font& font) = 0;

  // Restricts drawing to a rectangle until ResetClip().
  virtual void SetClip(const RectF& rect) = 0;
  virtual void ResetClip() = 0;
};

}  // namespace wattrix
