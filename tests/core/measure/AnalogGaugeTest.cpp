#include "core/measure/AnalogGauge.h"

#include "support/RecordingCanvas.h"

#include <functional>

#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <numbers>

namespace wattrix {
namespace {

using Op = test::RecordingCanvas::Op;
using Strings = std::vector<std::string>;

double Angle(const AnalogGauge& g, PointF p) {
  double a = std::atan2(p.y - g.Centre().y, p.x - g.Centre().x) * 180.0 / std::numbers::pi;
  if (a < 90) a += 360;  // the scale runs from 135° to 405°
  return a;
}

double Radius(const AnalogGauge& g, PointF p) { return std::hypot(p.x - g.Centre().x, p.y - g.Centre().y); }

TEST(AnalogGauge, StartsAsAPlainDialAndLaysOutTheSquareFace) {
  AnalogGauge g;
  EXPECT_EQ(g.Background(), 0xFFFFFFFFu);
  EXPECT_EQ(g.BezelColour(), 0xFF4169E1u);
  EXPECT_EQ(g.HubColour(), 0xFFFFFF00u);
  EXPECT_EQ(g.TextColour(), 0xFFFFFFFFu);
  EXPECT_EQ(g.StartAngle(), 135.0f);
  EXPECT_EQ(g.EndAngle(), 405.0f);
  EXPECT_EQ(g.Value(), 10);
  EXPECT_EQ(g.Minimum(), 0);
  EXPECT_EQ(g.Maximum(), 100);
  EXPECT_EQ(g.MajorTicks(), 10);
  EXPECT_EQ(g.MinorSteps(), 9);
  EXPECT_EQ(g.Width(), 100);
  EXPECT_EQ(g.SizeFactor(), 0.5f);
  EXPECT_EQ(g.Face(), (RectF{0, 0, 98, 98}));

  g.SetSize(300, 200);
  EXPECT_EQ(g.SizeFactor(), 1.0f);
  EXPECT_EQ(g.Face(), (RectF{0, 0, 200, 198}));  // w := H, h = H − 2
  EXPECT_EQ(g.Centre(), (PointF{100, 99}));
  EXPECT_EQ(g.HubRect(), (RectF{80, 79, 40, 40}));
  EXPECT_EQ(g.GlossRect(), (RectF{20, 10, 160, 129}));
  g.SetSize(200, 300);
  EXPECT_EQ(g.Face(), (RectF{0, 0, 198, 200}));
  g.SetSize(40, 0);  // drawn as 100 × 100
  EXPECT_EQ(g.Width(), 100);
  EXPECT_EQ(g.Height(), 100);
  EXPECT_EQ(g.Face(), (RectF{0, 0, 98, 98}));

  EXPECT_EQ(AnalogGauge::Shade(0xFF4169E1, 20), MakeArgb(255, 13, 21, 45));
  EXPECT_EQ(AnalogGauge::Shade(0x80FFFF00, 75), MakeArgb(128, 191, 191, 0));
  EXPECT_EQ(AnalogGauge::Shade(0xFF808080, 300), 0xFFFFFFFFu);
  EXPECT_EQ(AnalogGauge::Shade(0xFF123456, 100), 0xFF123456u);
}

TEST(AnalogGauge, ScaleLabelsAreIntegersOnlyForWideRanges) {
  AnalogGauge g;
  EXPECT_EQ(g.ScaleLabels(), (Strings{"0", "11", "22", "33", "44", "56", "67", "78", "89", "100"}));
  g.SetMinimum(1);
  g.SetMaximum(2);
  EXPECT_EQ(g.ScaleLabels(), (Strings{"1.0", "1.1", "1.2", "1.3", "1.4", "1.6", "1.7", "1.8", "1.9", "2.0"}));
  g.SetMinimum(20);
  g.SetMaximum(60);
  EXPECT_EQ(g.ScaleLabels(), (Strings{"20", "24", "29", "33", "38", "42", "47", "51", "56", "60"}));
  g.SetMinimum(-40.5);  // steps of 4.5: halves round away from zero
  g.SetMaximum(0);
  EXPECT_EQ(g.ScaleLabels(), (Strings{"-41", "-36", "-32", "-27", "-23", "-18", "-14", "-9", "-5", "0"}));
  g.SetMinimum(-30);  // a width of exactly 2 × 10 keeps one decimal
  g.SetMaximum(-10);
  EXPECT_EQ(g.ScaleLabels().front(), "-30.0");
  EXPECT_EQ(g.ScaleLabels()[1], "-27.8");
}

TEST(AnalogGauge, ValueIsLimitedToTheScaleAndZonesMapOntoIt) {
  AnalogGauge g;
  g.SetMinimum(20);
  g.SetMaximum(60);
  g.SetValue(200);
  EXPECT_EQ(g.Value(), 60);
  EXPECT_DOUBLE_EQ(g.NeedleAngle(), 405);
  g.SetValue(-100);
  EXPECT_EQ(g.Value(), 20);
  EXPECT_DOUBLE_EQ(g.NeedleAngle(), 135);
  g.SetValue(40);
  EXPECT_DOUBLE_EQ(g.NeedleAngle(), 270);
  g.SetMaximum(30);  // the range alone does not move the value
  EXPECT_EQ(g.Value(), 40);
  g.SetValue(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(g.Value(), 20);
  g.SetMaximum(60);
  const auto arc = g.ZoneArc(MeterThreshold{0xFF008000, 30, 50});
  EXPECT_DOUBLE_EQ(arc.start, 202.5);
  EXPECT_DOUBLE_EQ(arc.sweep, 135);
}

TEST(AnalogGauge, PaintsEveryPartInOrderWithItsGeometryAndColours) {
  AnalogGauge g;
  g.SetSize(200, 200);
  g.SetBackground(MakeRgb(28, 61, 114));
  g.SetMinimum(20);
  g.SetMaximum(60);
  g.SetValue(40);
  g.SetUnitText("dBm");
  g.AddThreshold(20, 30, 0xFFFF0000);
  g.AddThreshold(30, 50, 0xFF008000);
  test::RecordingCanvas canvas;
  g.Paint(canvas);

  const auto& p = canvas.Primitives();
  Strings order;
  for (const auto& prim : p) {
    EXPECT_TRUE(prim.antialiased);
    if (prim.op == Op::Line) continue;  // ticks, checked below
    order.push_back(prim.op == Op::Text ? "T" : std::to_string(static_cast<int>(prim.op)));
  }
  const std::string fillRect = std::to_string(static_cast<int>(Op::FillRect));
  const std::string drawRect = std::to_string(static_cast<int>(Op::DrawRect));
  const std::string ellipse = std::to_string(static_cast<int>(Op::FillEllipse));
  const std::string arc = std::to_string(static_cast<int>(Op::Arc));
  const std::string poly = std::to_string(static_cast<int>(Op::FillPolygon));
  const std::string outline = std::to_string(static_cast<int>(Op::DrawPolygon));
  Strings expected{fillRect, drawRect, ellipse, ellipse, arc, arc};
  for (int i = 0; i < 11; ++i) expected.push_back("T");  // ten labels and the unit
  for (const auto& s : {poly, outline, ellipse, ellipse, ellipse}) expected.push_back(s);
  EXPECT_EQ(order, expected);

  // Background and bezel.
  EXPECT_EQ(p[0].rect, (RectF{0, 0, 200, 200}));
  EXPECT_EQ(p[1].pen, (Pen{MakeRgb(28, 61, 114), 1}));
  const RectF face{0, 0, 198, 198};
  EXPECT_EQ(p[2].brush, Brush::Gradient(0xFF4169E1, MakeArgb(255, 13, 21, 45), face, 45));
  const RectF inner{3, 3, 192, 192};  // 3k in from the face, k = 1
  EXPECT_EQ(p[3].brush, Brush::Gradient(MakeArgb(255, 13, 21, 45), 0xFF4169E1, inner, 45));
  EXPECT_EQ(p[3].rect, inner);

  // Zones on the face shrunk by 18k, 4.5k wide.
  const auto arcs = canvas.OfKind(Op::Arc);
  EXPECT_EQ(arcs[1]->rect, (RectF{18, 18, 162, 162}));
  EXPECT_EQ(arcs[1]->pen, (Pen{0xFF008000, 4.5}));
  EXPECT_DOUBLE_EQ(arcs[1]->startDegrees, 202.5);
  EXPECT_DOUBLE_EQ(arcs[1]->sweepDegrees, 135);
  EXPECT_DOUBLE_EQ(arcs[0]->sweepDegrees, 67.5);

  // Ten major and ninety minor ticks every 3°, from 135° to 405°.
  const auto lines = canvas.OfKind(Op::Line);
  ASSERT_EQ(lines.size(), 100u);
  const double r = 99 - 0.08 * 198;
  int majors = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto& line = *lines[i];
    EXPECT_EQ(line.pen, (Pen{0xFFFFFFFF, 1}));
    EXPECT_NEAR(Radius(g, line.points[0]), r, 1e-9);
    const double inner_r = Radius(g, line.points[1]);
    if (std::fabs(inner_r - (r - 198.0 / 20)) < 1e-9)
      ++majors;
    else
      EXPECT_NEAR(inner_r, r - 198.0 / 50, 1e-9);
  }
  EXPECT_EQ(majors, 10);
  EXPECT_NEAR(Angle(g, lines[0]->points[0]), 135, 1e-9);
  EXPECT_NEAR(Angle(g, lines[1]->points[0]), 138, 1e-9);
  EXPECT_NEAR(Angle(g, lines[10]->points[0]), 165, 1e-9);  // the last minor step
  EXPECT_NEAR(Angle(g, lines[11]->points[0]), 165, 1e-9);  // on the next major tick
  EXPECT_NEAR(Angle(g, lines.back()->points[0]), 405, 1e-9);

  // Labels centred at R − 20k in 6-point Courier; the unit under the centre.
  const auto texts = canvas.OfKind(Op::Text);
  EXPECT_EQ(texts[0]->text, "20");
  EXPECT_EQ(texts[0]->font.face, "Courier");
  EXPECT_DOUBLE_EQ(texts[0]->font.pixelHeight, 8);  // 6 pt at 96 dpi
  const auto size = canvas.MeasureText("20", texts[0]->font);
  const PointF labelCentre{texts[0]->points[0].x + size.width / 2, texts[0]->points[0].y + size.height / 2};
  EXPECT_NEAR(Radius(g, labelCentre), r - 20, 1e-9);
  EXPECT_NEAR(Angle(g, labelCentre), 135, 1e-9);
  EXPECT_EQ(texts[9]->text, "60");
  const auto& unit = *texts[10];
  EXPECT_EQ(unit.text, "dBm");
  EXPECT_EQ(unit.font.face, "Arial");
  EXPECT_NEAR(unit.font.pixelHeight, 40.0 / 3, 1e-9);
  const auto unitSize = canvas.MeasureText("dBm", unit.font);
  EXPECT_NEAR(unit.points[0].x + unitSize.width / 2, 99, 1e-9);
  EXPECT_NEAR(unit.points[0].y, 198 * 4 / 5.0, 1e-9);

  // The needle points straight up at 40, tip at R = w/2 − 0.12 w.
  const auto needle = canvas.OfKind(Op::FillPolygon)[0];
  ASSERT_EQ(needle->points.size(), 4u);
  EXPECT_EQ(needle->points[0], g.Centre());
  EXPECT_NEAR(Angle(g, needle->points[2]), 270, 1e-9);
  EXPECT_NEAR(Radius(g, needle->points[2]), 99 - 0.12 * 198, 1e-9);
  EXPECT_NEAR(Angle(g, needle->points[1]), 280, 1e-9);
  EXPECT_NEAR(Radius(g, needle->points[3]), 0.09 * 198, 1e-9);
  EXPECT_EQ(needle->brush, Brush::Solid(0xFFFF0000));
  EXPECT_EQ(canvas.OfKind(Op::DrawPolygon)[0]->pen, (Pen{0xFFFF0000, 1}));

  // Hub halo at alpha 70, hub gradient, then the gloss.
  const auto ellipses = canvas.OfKind(Op::FillEllipse);
  EXPECT_EQ(ellipses[2]->rect, (RectF{74, 74, 50, 50}));
  EXPECT_EQ(ellipses[2]->brush, Brush::Solid(MakeArgb(70, 255, 255, 0)));
  EXPECT_EQ(ellipses[3]->brush, Brush::Gradient(0xFFFFFF00, MakeArgb(255, 191, 191, 0), g.HubRect(), 45));
  EXPECT_EQ(ellipses[4]->rect, g.GlossRect());
  EXPECT_EQ(ellipses[4]->brush,
            Brush::Gradient(MakeArgb(40, 200, 200, 200), MakeArgb(0, 200, 200, 200), g.GlossRect(), 45));
}

// A scale of zero width must never divide: no zones, needle at the start.
TEST(AnalogGauge, ZeroWidthRangeDrawsTheNeedleAtTheStartAndNoZones) {
  AnalogGauge g;
  g.SetSize(200, 200);
  g.SetMinimum(50);
  g.SetMaximum(50);
  g.SetValue(70);
  g.AddThreshold(40, 60, 0xFFFF0000);
  EXPECT_FALSE(g.HasRange());
  EXPECT_EQ(g.NeedleAngle(), 135);
  EXPECT_EQ(g.ZoneArc(g.Thresholds()[0]).sweep, 0);
  test::RecordingCanvas canvas;
  g.Paint(canvas);
  EXPECT_TRUE(canvas.OfKind(Op::Arc).empty());
  for (const auto& prim : canvas.Primitives()) {
    for (const auto& pt : prim.points) EXPECT_TRUE(std::isfinite(pt.x) && std::isfinite(pt.y));
  }
  EXPECT_EQ(canvas.OfKind(Op::Text)[0]->text, "50.0");
  EXPECT_NEAR(Angle(g, canvas.OfKind(Op::FillPolygon)[0]->points[2]), 135, 1e-9);

  g.SetMaximum(std::numeric_limits<double>::infinity());
  EXPECT_FALSE(g.HasRange());
  EXPECT_EQ(g.NeedleAngle(), 135);
}

// A variant dial draws its extra between the unit text and the needle.
TEST(AnalogGauge, ExtraHookRunsBetweenUnitTextAndNeedle) {
  class Marked final : public AnalogGauge {
   protected:
    bool DrawExtra(Canvas& canvas, const RectF& face) override {
      canvas.DrawEllipse(face, Pen{0xFF00FF00, 2});
      return true;
    }
  };
  Marked g;
  g.SetUnitText("VSWR");
  test::RecordingCanvas canvas;
  g.Paint(canvas);
  const auto& p = canvas.Primitives();
  std::size_t extra = 0;
  while (p[extra].op != Op::DrawEllipse) ++extra;
  EXPECT_EQ(p[extra - 1].text, "VSWR");
  EXPECT_EQ(p[extra + 1].op, Op::FillPolygon);
}

// The face and the needle together are the whole dial; the face's revision
// moves with everything it draws, and not with the value.
TEST(AnalogGauge, FaceAndNeedleMakeTheDialAndTheRevisionTracksTheFace) {
  AnalogGauge g;
  g.SetSize(240, 200);
  g.SetMinimum(20);
  g.SetMaximum(60);
  g.AddThreshold(20, 30, 0xFFFF0000);
  g.SetValue(41);
  test::RecordingCanvas whole;
  g.Paint(whole);
  test::RecordingCanvas parts;
  g.PaintFace(parts);
  const std::size_t faceOps = parts.Primitives().size();
  g.PaintNeedle(parts);
  ASSERT_EQ(parts.Primitives().size(), whole.Primitives().size());
  for (std::size_t i = 0; i < whole.Primitives().size(); ++i)
    EXPECT_EQ(parts.Primitives()[i].op, whole.Primitives()[i].op) << i;
  EXPECT_EQ(parts.Primitives()[faceOps].op, Op::FillPolygon);  // the needle comes first

  unsigned revision = g.DialRevision();
  g.SetValue(25);
  EXPECT_EQ(g.DialRevision(), revision);
  const std::function<void()> changes[] = {[&] { g.SetMinimum(10); },
                                           [&] { g.SetMaximum(70); },
                                           [&] { g.SetBackground(0xFF102030); },
                                           [&] { g.SetUnitText("dBm"); },
                                           [&] { g.ClearThresholds(); },
                                           [&] { g.AddThreshold(30, 50, 0xFF008000); },
                                           [&] { g.SetSize(300, 300); }};
  for (const auto& change : changes) {
    change();
    EXPECT_NE(g.DialRevision(), revision);
    revision = g.DialRevision();
  }
}

}  // namespace
}  // namespace wattrix
