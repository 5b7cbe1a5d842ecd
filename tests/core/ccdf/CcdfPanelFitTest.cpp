#include "core/ccdf/CcdfPanelFit.h"

#include <gtest/gtest.h>

namespace wattrix {
namespace {

// A font whose characters are as wide as its size and whose lines are two
// pixels higher.
PanelTextSize Measure(int points, const std::string& text) {
  return PanelTextSize{points * static_cast<int>(text.size()), points + 2};
}

PanelItems Items() {
  PanelItems items;
  items[0] = PanelItem{true, true, 10, 10, 12, MakeRgb(192, 192, 192), "Heading"};
  items[1] = PanelItem{true, false, 20, 40, 10, MakeRgb(192, 192, 192), "a"};
  items[2] = PanelItem{true, false, 20, 70, 10, MakeRgb(192, 192, 192), ""};
  return items;
}

TEST(CcdfPanelFit, KeepsTheItemSizesWhereThereIsRoomAndShrinksAllLinesAlike) {
  const PanelItems items = Items();
  const std::vector<std::string> texts{"Heading12", "Line 1", ""};  // 9 and 6 characters

  // 10 + 9 × 12 = 118 wide; lines 14, 12, 12 high from 10: tops 10, 26, 40.
  PanelFit fit = FitPanelLines(items, texts, 122, 56, 0, &Measure);
  EXPECT_TRUE(fit.fits);
  EXPECT_EQ(fit.shrink, 0);
  ASSERT_EQ(fit.lines.size(), 3u);
  EXPECT_EQ(fit.lines[0].left, 10);
  EXPECT_EQ(fit.lines[0].width, 108);
  EXPECT_EQ(fit.lines[1].top, 10 + 14 + 12 / 5);
  // The empty line takes no width but still its height.
  EXPECT_EQ(fit.lines[2].width, 0);
  EXPECT_EQ(fit.lines[2].top, fit.lines[1].top + 12 + 12 / 5);

  // One pixel narrower: the heading no longer fits at 12 points; at 11 it
  // does, and the other lines go down to 9 with it.
  fit = FitPanelLines(items, texts, 121, 56, 0, &Measure);
  EXPECT_TRUE(fit.fits);
  EXPECT_EQ(fit.shrink, 1);
  EXPECT_EQ(fit.lines[0].width, 99);
  EXPECT_EQ(fit.lines[1].width, 54);

  // Too low as well: the bottom line decides.
  fit = FitPanelLines(items, texts, 400, 48, 0, &Measure);
  EXPECT_TRUE(fit.fits);
  EXPECT_EQ(fit.shrink, 3);
  EXPECT_EQ(fit.lines[2].top + fit.lines[2].height, 41);
}

TEST(CcdfPanelFit, StopsAtTheSmallestReadableSizeAndStartsWhereAsked) {
  const PanelItems items = Items();
  const std::vector<std::string> texts{"A very long heading indeed", "x", ""};
  // Nothing fits a panel 30 pixels wide: every item ends at the smallest size.
  PanelFit fit = FitPanelLines(items, texts, 30, 300, 0, &Measure);
  EXPECT_FALSE(fit.fits);
  EXPECT_EQ(fit.shrink, 12 - kMinPanelPoints);
  EXPECT_EQ(fit.lines[0].width, kMinPanelPoints * 26);
  EXPECT_EQ(fit.lines[1].width, kMinPanelPoints * 1);

  // A start above the needed shrink is kept (sizes only go down between
  // two size changes of the panel).
  fit = FitPanelLines(items, {"H", "x", ""}, 400, 300, 2, &Measure);
  EXPECT_TRUE(fit.fits);
  EXPECT_EQ(fit.shrink, 2);
  // Texts missing from the list are measured from the items' labels.
  fit = LayOutPanelLines(items, {}, 400, 300, 0, &Measure);
  EXPECT_EQ(fit.lines[0].width, 12 * 7);
}

}  // namespace
}  // namespace wattrix
