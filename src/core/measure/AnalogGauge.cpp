#include "core/measure/AnalogGauge.h"

#include "core/platform/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace wattrix {

namespace {

constexpr double kGradientAngle = 45;
constexpr double kPi = 3.14159265358979323846;

RectF Inflate(const RectF& r, double d) { return RectF{r.x - d, r.y - d, r.width + 2 * d, r.height + 2 * d}; }

}  // namespace

AnalogGauge::AnalogGauge() { Layout(); }

void AnalogGauge::SetValue(double x) {
  if (std::isnan(x)) {
    m_value = m_minimum;
    return;
  }
  m_value = std::max(std::min(x, m_maximum), m_minimum);
}

void AnalogGauge::SetSize(int cx, int cy) {
  m_width = std::max(cx, kMinimumSide);
  m_height = std::max(cy, kMinimumSide);
  RecalcLayout();
  MarkDialChanged();
}

void AnalogGauge::RecalcLayout() { Layout(); }

void AnalogGauge::Layout() {
  const int side = std::min(m_width, m_height);
  m_k = side == 0 ? 1.0f : static_cast<float>(side) / 200.0f;
  const float x = 0;
  const float y = 0;
  float w = static_cast<float>(m_width - 2);
  float h = static_cast<float>(m_height - 2);
  // The face is the square on the shorter side, at the top-left.
  if (m_height > m_width) {
    h = static_cast<float>(m_width);
  } else if (m_height < m_width) {
    w = static_cast<float>(m_height);
  }
  w = std::max(w, 10.0f);
  h = std::max(h, 10.0f);
  m_face = RectF{x, y, w, h};
  m_centre.x = x + w / 2;
  m_centre.y = y + h / 2;
  const float k = m_k;
  m_hub = RectF{m_centre.x - 20 * k, m_centre.y - 20 * k, 40 * k, 40 * k};
  m_gloss = RectF{x + 20 * k, y + 10 * k, w - 40 * k, m_centre.y + 30 * k};
}

bool AnalogGauge::HasRange() const {
  const double range = m_maximum - m_minimum;
  return std::isfinite(range) && range != 0;
}

double AnalogGauge::NeedleAngle() const {
  if (!HasRange()) return m_startAngle;
  return m_startAngle +
         (m_value - m_minimum) * 100 / (m_maximum - m_minimum) * (m_endAngle - m_startAngle) / 100;
}

AnalogGauge::Arc AnalogGauge::ZoneArc(const MeterThreshold& zone) const {
  if (!HasRange()) return Arc{m_startAngle, 0};
  const double f = (m_endAngle - m_startAngle) / (m_maximum - m_minimum);
  return Arc{m_startAngle + (zone.start - m_minimum) * f, (zone.end - zone.start) * f};
}

std::string AnalogGauge::LabelText(double value) const {
  if (m_maximum - m_minimum > 2.0 * m_majorTicks) {
    const double rounded = std::round(value);  // halves away from zero
    if (std::fabs(rounded) < 2147483648.0) return FormatC("%d", static_cast<int>(rounded));
    return FormatC("%.0f", rounded);
  }
  return FormatC("%.1f", value);
}

std::vector<std::string> AnalogGauge::ScaleLabels() const {
  std::vector<std::string> labels;
  labels.reserve(static_cast<std::size_t>(std::max(m_majorTicks, 0)));
  double label = m_minimum;
  for (int i = 0; i < m_majorTicks; ++i) {
    labels.push_back(LabelText(label));
    if (m_majorTicks > 1) label += (m_maximum - m_minimum) / (m_majorTicks - 1);
  }
  return labels;
}

Argb AnalogGauge::Shade(Argb colour, int percent) {
  const auto channel = [percent](int c) { return std::clamp(c * percent / 100, 0, 255); };
  return MakeArgb(AlphaOf(colour), channel(RedOf(colour)), channel(GreenOf(colour)), channel(BlueOf(colour)));
}

PointF AnalogGauge::Polar(double radius, double degrees) const {
  const double a = degrees * kPi / 180.0;
  return PointF{m_centre.x + radius * std::cos(a), m_centre.y + radius * std::sin(a)};
}

void AnalogGauge::Paint(Canvas& canvas) {
  canvas.SetAntialiasing(true);
  DrawFaceSteps(canvas);
  DrawNeedleSteps(canvas);
}

void AnalogGauge::PaintFace(Canvas& canvas) {
  canvas.SetAntialiasing(true);
  DrawFaceSteps(canvas);
}

void AnalogGauge::PaintNeedle(Canvas& canvas) {
  canvas.SetAntialiasing(true);
  DrawNeedleSteps(canvas);
}

void AnalogGauge::PaintNeedleAlone(Canvas& canvas) {
  canvas.SetAntialiasing(true);
  DrawNeedle(canvas, m_face);
}

void AnalogGauge::PaintCover(Canvas& canvas) {
  canvas.SetAntialiasing(true);
  DrawHub(canvas, m_hub);
  DrawGloss(canvas, m_gloss);
}

void AnalogGauge::DrawFaceSteps(Canvas& canvas) {
  DrawBackground(canvas, RectF{0, 0, static_cast<double>(m_width), static_cast<double>(m_height)});
  DrawBezel(canvas, m_face);
  DrawZones(canvas, m_face);
  DrawScale(canvas, m_face);
  DrawUnitText(canvas, m_face);
  DrawExtra(canvas, m_face);
}

void AnalogGauge::DrawNeedleSteps(Canvas& canvas) {
  DrawNeedle(canvas, m_face);
  DrawHub(canvas, m_hub);
  DrawGloss(canvas, m_gloss);
}

void AnalogGauge::DrawBackground(Canvas& canvas, const RectF& client) {
  canvas.FillRect(client, Brush::Solid(m_background));
  canvas.DrawRect(client, Pen{m_background, 1});
}

void AnalogGauge::DrawBezel(Canvas& canvas, const RectF& face) {
  const Argb dark = Shade(m_bezelColour, 20);
  canvas.FillEllipse(face, Brush::Gradient(m_bezelColour, dark, face, kGradientAngle));
  const double inset = 3.0 * m_k;
  const RectF inner{face.x + inset, face.y + inset, face.width - 2 * inset, face.height - 2 * inset};
  canvas.FillEllipse(inner, Brush::Gradient(dark, m_bezelColour, inner, kGradientAngle));
}

void AnalogGauge::DrawZones(Canvas& canvas, const RectF& face) {
  if (!HasRange()) return;
  const RectF arc = Inflate(face, -18.0 * m_k);
  const double width = 4.5 * m_k;
  for (const MeterThreshold& zone : m_zones) {
    const Arc a = ZoneArc(zone);
    canvas.DrawArc(arc, a.start, a.sweep, Pen{zone.colour, width});
  }
}

void AnalogGauge::DrawScale(Canvas& canvas, const RectF& face) {
  const double w = face.width;
  const double radius = w / 2 - 0.08 * w;
  const int steps = (m_majorTicks - 1) * (m_minorSteps + 1);
  const float delta = steps > 0 ? (m_endAngle - m_startAngle) / static_cast<float>(steps) : 0.0f;
  const Pen pen{m_textColour, m_k};
  const Font font{"Courier", 6.0 * m_k * canvas.DpiY() / 72.0, 400, 0};
  float theta = m_startAngle;
  double label = m_minimum;
  for (int major = 0; major < m_majorTicks; ++major) {
    canvas.DrawLine(Polar(radius, theta), Polar(radius - w / 20, theta), pen);
    const std::string text = LabelText(label);
    const SizeF size = canvas.MeasureText(text, font);
    const PointF at = Polar(radius - 20.0 * m_k, theta);
    canvas.DrawText(text, PointF{at.x - size.width / 2, at.y - size.height / 2}, font, m_textColour);
    if (major + 1 == m_majorTicks) break;
    label += (m_maximum - m_minimum) / (m_majorTicks - 1);
    // The last minor step lands on the next major tick.
    for (int minor = 0; minor <= m_minorSteps; ++minor) {
      theta += delta;
      canvas.DrawLine(Polar(radius, theta), Polar(radius - w / 50, theta), pen);
    }
  }
}

void AnalogGauge::DrawUnitText(Canvas& canvas, const RectF& face) {
  if (m_unitText.empty()) return;
  const Font font{"Arial", 10.0 * m_k * canvas.DpiY() / 72.0, 400, 0};
  const SizeF size = canvas.MeasureText(m_unitText, font);
  canvas.DrawText(m_unitText, PointF{face.x + face.width / 2 - size.width / 2, face.y + face.height * 4 / 5},
                  font, m_textColour);
}

bool AnalogGauge::DrawExtra(Canvas& /*canvas*/, const RectF& /*face*/) { return false; }

std::array<PointF, 4> AnalogGauge::NeedleOutline(const RectF& face) const {
  const double w = face.width;
  const double theta = NeedleAngle();
  const double tip = w / 2 - 0.12 * w;
  const double base = 0.09 * w;
  return {PointF{m_centre.x, m_centre.y}, Polar(base, theta + 10), Polar(tip, theta),
          Polar(base, theta - 10)};
}

RectF AnalogGauge::NeedleBounds() const {
  const auto outline = NeedleOutline(m_face);
  double left = outline[0].x, right = left, top = outline[0].y, bottom = top;
  for (const PointF& p : outline) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  // The one-unit outline and the anti-aliased edge reach past the corners.
  constexpr double kMargin = 3;
  return RectF{left - kMargin, top - kMargin, right - left + 2 * kMargin, bottom - top + 2 * kMargin};
}

void AnalogGauge::DrawNeedle(Canvas& canvas, const RectF& face) {
  const std::array<PointF, 4> triangle = NeedleOutline(face);
  canvas.FillPolygon(triangle, Brush::Solid(kNeedleColour));
  canvas.DrawPolygon(triangle, Pen{kNeedleColour, 1});
}

void AnalogGauge::DrawHub(Canvas& canvas, const RectF& hub) {
  const Argb halo = (m_hubColour & 0x00FFFFFFu) | (static_cast<Argb>(70) << 24);
  canvas.FillEllipse(Inflate(hub, 5.0 * m_k), Brush::Solid(halo));
  canvas.FillEllipse(hub, Brush::Gradient(m_hubColour, Shade(m_hubColour, 75), hub, kGradientAngle));
}

void AnalogGauge::DrawGloss(Canvas& canvas, const RectF& gloss) {
  canvas.FillEllipse(
      gloss, Brush::Gradient(MakeArgb(40, 200, 200, 200), MakeArgb(0, 200, 200, 200), gloss, kGradientAngle));
}

}  // namespace wattrix
