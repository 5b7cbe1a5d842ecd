#include "core/measure/PanelLayout.h"

#include "core/vocabulary/Quantity.h"
#include "core/platform/MulDiv.h"

#include <gtest/gtest.h>

namespace wattrix {
namespace {

using namespace panel_item;

PanelGeometry Lay(int layout, int w, int h, Quantity quantity = kAvg, bool relative = false,
                  bool limitCheck = true, bool alarm = false) {
  PanelLayoutInput in;
  in.layout = layout;
  in.alarm = alarm;
  in.quantity = quantity;
  in.relative = relative;
  in.limitCheck = limitCheck;
  in.clientWidth = w;
  in.clientHeight = h;
  return LayOutPanel(in);
}

bool Shown(const PanelGeometry& g, int item) {
  return !g.items[static_cast<std::size_t>(item)].rect.IsEmpty();
}

TEST(PanelLayout, MulDivRoundsHalvesAwayFromZeroAndRefusesZeroDivisor) {
  EXPECT_EQ(MulDiv(3, 1, 2), 2);
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(MulDiv(3, -1, 2), -2);
  EXPECT_EQ(MulDiv(5, 1, -2), -3);
  EXPECT_EQ(MulDiv(4, 1, 3), 1);
  EXPECT_EQ(MulDiv(5, 1, 3), 2);
  EXPECT_EQ(MulDiv(7, 1, 0), -1);
  EXPECT_EQ(MulDiv(2000000000, 2000000000, 2000000000), 2000000000);  // the product needs 64 bits
  EXPECT_EQ(MulDiv(2000000000, 4, 2), -1);
}

TEST(PanelLayout, ReferenceSizeReproducesTheTableAndSmallPanelsAreRaised) {
  const auto ref = Lay(0, 476, 326);
  EXPECT_EQ(ref.scale, 1.0);
  EXPECT_EQ(ref.textWidth, 476);
  EXPECT_EQ(ref.items[kValue].points, 36);
  EXPECT_EQ(ref.items[kValue].rect, (PanelRect{210, 132, 476, 326}));
  EXPECT_EQ(ref.items[kValue].colour, panel_colour::kGreen);
  EXPECT_EQ(ref.items[kDisplayMode].colour, panel_colour::kLightGrey);
  EXPECT_EQ(ref.items[kQuantityName].colour, panel_colour::kWhite);
  EXPECT_FALSE(ref.gaugeVisible);

  // 100 × 100 is laid out as 300 × 200: the height is the tighter side.
  const auto small = Lay(0, 100, 100);
  EXPECT_EQ(small.width, 300);
  EXPECT_EQ(small.height, 200);
  EXPECT_DOUBLE_EQ(small.scale, 200.0 / 326.0);
  EXPECT_EQ(small.items[kValue].points, 22);  // 36 × 0.613, truncated
  EXPECT_EQ(small.items[kModel].points, 8);   // 14 × 0.613
  EXPECT_EQ(small.items[kValue].rect, (PanelRect{132, 81, 300, 200}));
  EXPECT_EQ(small.items[kSensorType].rect.top, 36);  // 58 × 200 / 326 = 35.58 rounds up

  // A wide, low text area scales by its width instead.
  const auto narrow = Lay(0, 476, 652);
  EXPECT_EQ(narrow.scale, 1.0);
  EXPECT_EQ(narrow.items[kValue].rect.top, 264);
}

TEST(PanelLayout, HidingRulesFollowQuantityDisplayModeAndLimitCheck) {
  for (const int layout : {0, 2}) {
    const auto absolute = Lay(layout, 476, 704);
    EXPECT_FALSE(Shown(absolute, kReference)) << layout;
    EXPECT_TRUE(Shown(absolute, kSecondary));
    EXPECT_TRUE(Shown(absolute, kDisplayMode));
    const auto relative = Lay(layout, 476, 704, kPeak, true);
    EXPECT_TRUE(Shown(relative, kReference));
    EXPECT_FALSE(Shown(relative, kSecondary)) << layout;
    // VSWR/PAR has no relative display: its return loss stays, the mode text goes.
    const auto vswr = Lay(layout, 476, 704, kVswr, true);
    EXPECT_FALSE(Shown(vswr, kReference));
    EXPECT_FALSE(Shown(vswr, kDisplayMode));
    EXPECT_TRUE(Shown(vswr, kSecondary));
    EXPECT_TRUE(Shown(vswr, kLowLimit));
    const auto unchecked = Lay(layout, 476, 704, kAvg, false, false);
    EXPECT_FALSE(Shown(unchecked, kLowLimit));
    EXPECT_FALSE(Shown(unchecked, kHighLimit));
  }
  const auto pulse = Lay(3, 322, 704, kPulse, true, false);
  EXPECT_FALSE(Shown(pulse, kSecondary));
  EXPECT_TRUE(Shown(pulse, kReference));
  EXPECT_FALSE(Shown(pulse, kLowLimit));
  EXPECT_FALSE(Shown(pulse, kDisplayMode));
  EXPECT_TRUE(Shown(pulse, kDutyCycle));
  EXPECT_TRUE(Shown(Lay(3, 322, 704, kVswr), kSecondary));
  EXPECT_FALSE(Shown(Lay(3, 322, 704, kVswr), kReference));
  EXPECT_FALSE(Shown(Lay(2, 322, 704, kPulse), kDutyCycle));

  // Layout 1 hides nothing beyond its table.
  const auto side = Lay(1, 300, 200, kVswr, true, false);
  for (int item = 0; item < kPanelItemCount; ++item) {
    EXPECT_EQ(Shown(side, item), PanelLayoutTableOf(1, false).items[static_cast<std::size_t>(item)].visible)
        << item;
  }
  EXPECT_TRUE(Shown(side, kSecondary));
}

TEST(PanelLayout, AlarmVariantTurnsTheValueRedAndShowsTheModeInLayoutThree) {
  for (int layout = 0; layout < kPanelLayoutCount; ++layout) {
    const auto& normal = PanelLayoutTableOf(layout, false);
    const auto& alarm = PanelLayoutTableOf(layout, true);
    EXPECT_EQ(alarm.items[kValue].colour, panel_colour::kAlarm);
    EXPECT_EQ(PanelValueColour(layout, true), panel_colour::kAlarm);
    for (int item = 0; item < kPanelItemCount; ++item) {
      if (item == kValue || (layout == 3 && item == kDisplayMode)) continue;
      const auto& a = alarm.items[static_cast<std::size_t>(item)];
      const auto& n = normal.items[static_cast<std::size_t>(item)];
      EXPECT_TRUE(a.visible == n.visible && a.x == n.x && a.y == n.y && a.points == n.points &&
                  a.colour == n.colour)
          << layout << " " << item;
    }
  }
  EXPECT_EQ(PanelValueColour(1, false), panel_colour::kSilver);
  EXPECT_EQ(PanelValueColour(3, false), panel_colour::kGreen);
  EXPECT_FALSE(Shown(Lay(3, 322, 704), kDisplayMode));
  const auto alarm = Lay(3, 322, 704, kAvg, false, true, true);
  ASSERT_TRUE(Shown(alarm, kDisplayMode));
  EXPECT_EQ(alarm.items[kDisplayMode].rect, alarm.items[kDutyCycle].rect);
  EXPECT_EQ(alarm.items[kDisplayMode].points, alarm.items[kDutyCycle].points);
  // Only one of the pair shows: a pulse panel keeps its duty cycle.
  const auto pulse = Lay(3, 322, 704, kPulse, false, true, true);
  EXPECT_FALSE(Shown(pulse, kDisplayMode));
  EXPECT_TRUE(Shown(pulse, kDutyCycle));
  // An unknown layout reads as the main one.
  EXPECT_EQ(Lay(7, 476, 326).items[kValue].rect, Lay(0, 476, 326).items[kValue].rect);
}

TEST(PanelLayout, GaugeSitsSquareBesideTheTextsInLayoutsOneToThree) {
  const auto side = Lay(1, 300, 200);
  EXPECT_EQ(side.textWidth, 120);
  EXPECT_TRUE(side.gaugeVisible);
  EXPECT_EQ(side.gauge, (PanelRect{130, 20, 290, 180}));  // f = min(160, 180)
  EXPECT_EQ(side.items[kValue].rect, (PanelRect{13, 81, 120, 200}));

  const auto tall = Lay(2, 322, 704);
  EXPECT_EQ(tall.textWidth, 129);  // 128.8 rounds up
  EXPECT_DOUBLE_EQ(tall.scale, 129.0 / 322.0);
  EXPECT_EQ(tall.items[kValue].points, 18);
  const int f = 322 - 129 - 20;
  EXPECT_EQ(tall.gauge,
            (PanelRect{129 + (322 - 129 - f) / 2, (704 - f) / 2, 129 + 10 + f, (704 - f) / 2 + f}));
  EXPECT_TRUE(Lay(3, 800, 600).gaugeVisible);
  EXPECT_FALSE(Lay(0, 800, 600).gaugeVisible);
}

}  // namespace
}  // namespace wattrix
