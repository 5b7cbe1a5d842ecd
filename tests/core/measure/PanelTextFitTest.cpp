#include "core/measure/PanelTextFit.h"

#include "core/vocabulary/Quantity.h"

#include <gtest/gtest.h>

namespace wattrix {
namespace {

using namespace panel_item;

// A bold sans face at 96 dpi, roughly: characters 0.55 em wide, lines
// 1.15 em high (em = points × 4 / 3 pixels).
class ModelMeasure final : public PanelTextMeasure {
 public:
  double Width(int points, const std::string& text) const override {
    return static_cast<double>(text.size()) * points * 4.0 / 3.0 * 0.55;
  }
  double LineHeight(int points) const override { return points * 4.0 / 3.0 * 1.15; }
};

PanelLayoutInput Input(int layout, int w, int h, Quantity quantity = kAvg) {
  PanelLayoutInput in;
  in.layout = layout;
  in.quantity = quantity;
  in.limitCheck = true;
  in.clientWidth = w;
  in.clientHeight = h;
  return in;
}

PanelTexts SideTexts() {
  PanelTexts t{};
  t[kQuantityName] = "VSWR";
  t[kValue] = "1.53 : 1";
  t[kSecondary] = "Return Loss: -13.92 dB";
  t[kMaximum] = "MAX 1.61 : 1";
  t[kMinimum] = "MIN 1.48 : 1";
  return t;
}

PanelTexts MainTexts() {
  PanelTexts t{};
  t[kModel] = "Model: PX420B";
  t[kSerial] = "S/N: 20417";
  t[kSensorType] = "Type: Directional";
  t[kFrequency] = "Frequency: 1000.00 MHz";
  t[kOffset] = "Ext. Offset: 0.00 dB";
  t[kDisplayMode] = "Absolute";
  t[kReference] = "REF 39.87 dBm";
  t[kMinimum] = "MIN 39.80 dBm";
  t[kMaximum] = "MAX 40.02 dBm";
  t[kValue] = "39.95 dBm";
  t[kSecondary] = "9.89 W";
  t[kQuantityName] = "AVG";
  t[kLowLimit] = "Low Limit 0.00 dBm";
  t[kHighLimit] = "High Limit 10.00 dBm";
  t[kTechnology] = "Technology: WCDMA";
  return t;
}

int Shown(const PanelGeometry& g, const PanelTexts& t) {
  int n = 0;
  for (int i = 0; i < kPanelItemCount; ++i)
    n += !g.items[static_cast<std::size_t>(i)].rect.IsEmpty() && !t[static_cast<std::size_t>(i)].empty();
  return n;
}

// At the reference size the texts that fit keep the table's places and
// sizes; only what would run into the gauge is made smaller.
TEST(PanelTextFit, ReferenceSizeKeepsTheTable) {
  const ModelMeasure m;
  PanelTexts t = MainTexts();
  const PanelGeometry table = LayOutPanel(Input(0, 476, 326));
  const PanelGeometry fit = FitPanel(Input(0, 476, 326), t, m);
  for (int i = 0; i < kPanelItemCount; ++i) {
    EXPECT_EQ(fit.items[static_cast<std::size_t>(i)].rect.left,
              table.items[static_cast<std::size_t>(i)].rect.left);
    EXPECT_EQ(fit.items[static_cast<std::size_t>(i)].rect.top,
              table.items[static_cast<std::size_t>(i)].rect.top)
        << i;
  }
  EXPECT_EQ(fit.items[kValue].points, 36);
  EXPECT_EQ(fit.items[kQuantityName].points, 30);
  EXPECT_TRUE(PanelTextsFit(fit, t, m));

  // The narrow side panel: "Return Loss" at 14 points is wider than the
  // room before the gauge, so it alone gets smaller; the gauge stays.
  t = SideTexts();
  const PanelGeometry sideTable = LayOutPanel(Input(1, 475, 322, kVswr));
  const PanelGeometry side = FitPanel(Input(1, 475, 322, kVswr), t, m);
  EXPECT_FALSE(PanelTextsFit(sideTable, t, m));
  EXPECT_TRUE(PanelTextsFit(side, t, m));
  EXPECT_LT(side.items[kSecondary].points, 14);
  EXPECT_GE(side.items[kSecondary].points, kPanelMinPoints);
  EXPECT_EQ(side.items[kValue].points, 24);
  EXPECT_EQ(side.gauge, sideTable.gauge);
  EXPECT_TRUE(side.gaugeVisible);
}

// Small panels (a quarter of a window at 800 × 600, tiled halves) keep every
// text whole and readable: nothing below the smallest size, nothing over
// the edge, the gauge or another text.
TEST(PanelTextFit, SmallPanelsKeepEveryTextWholeAndReadable) {
  const ModelMeasure m;
  struct Case {
    int layout, w, h;
    Quantity quantity;
  };
  for (const Case c : {Case{0, 394, 214, kAvg}, Case{0, 197, 214, kAvg}, Case{0, 196, 200, kAvg},
                       Case{1, 394, 214, kVswr}, Case{1, 197, 214, kVswr}, Case{1, 196, 200, kVswr},
                       Case{1, 260, 160, kVswr}, Case{0, 300, 150, kAvg}}) {
    const PanelTexts t = c.layout == 0 ? MainTexts() : SideTexts();
    const PanelGeometry g = FitPanel(Input(c.layout, c.w, c.h, c.quantity), t, m);
    SCOPED_TRACE(testing::Message() << "layout " << c.layout << " " << c.w << " x " << c.h);
    EXPECT_EQ(g.width, c.w);
    EXPECT_EQ(g.height, c.h);
    EXPECT_TRUE(PanelTextsFit(g, t, m));
    EXPECT_EQ(Shown(g, t), Shown(LayOutPanel(Input(c.layout, c.w, c.h, c.quantity)), t));
    for (const PanelItemPlace& p : g.items) {
      EXPECT_GE(p.points, kPanelMinPoints);
      EXPECT_LE(p.points, kPanelMaxPoints);
    }
  }
  // A panel too narrow for its texts beside the gauge gives up the gauge
  // rather than cut them.
  const PanelGeometry narrow = FitPanel(Input(1, 197, 214, kVswr), SideTexts(), m);
  EXPECT_FALSE(narrow.gaugeVisible && !narrow.gauge.IsEmpty() && narrow.gauge.Width() < kPanelMinGauge);
}

// Sizes follow the panel within bounds: large panels grow the texts up to
// the largest size, and a new reading never makes a text grow back.
TEST(PanelTextFit, SizesFollowThePanelWithinBoundsAndStayPut) {
  const ModelMeasure m;
  PanelTexts t = MainTexts();
  const PanelGeometry big = FitPanel(Input(0, 3800, 2600), t, m);
  EXPECT_EQ(big.items[kValue].points, kPanelMaxPoints);
  EXPECT_TRUE(PanelTextsFit(big, t, m));
  const PanelGeometry medium = FitPanel(Input(0, 952, 652), t, m);
  EXPECT_EQ(medium.items[kValue].points, 72);

  // A wide reading shrinks the value once; a short one after it keeps that
  // size until the panel is laid out again.
  t[kValue] = "-100.00 dBm";
  const PanelGeometry wide = FitPanel(Input(0, 300, 200), t, m);
  t[kValue] = "1.00 dBm";
  const PanelGeometry kept = FitPanel(Input(0, 300, 200), t, m, &wide);
  EXPECT_EQ(kept.items[kValue].points, wide.items[kValue].points);
  const PanelGeometry fresh = FitPanel(Input(0, 300, 200), t, m);
  EXPECT_GE(fresh.items[kValue].points, kept.items[kValue].points);
  // A previous fit of another size does not hold the sizes back.
  const PanelGeometry resized = FitPanel(Input(0, 476, 326), t, m, &wide);
  EXPECT_EQ(resized.items[kValue].points, 36);
}

}  // namespace
}  // namespace wattrix
