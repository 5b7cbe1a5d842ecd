#include "core/platform/HostPaths.h"
#include "core/shell/StatusPaneFit.h"
#include "core/shell/WindowPlacement.h"
#include "core/shell/WindowTitles.h"
#include "core/strings/StringTable.h"

#include <gtest/gtest.h>

namespace wattrix {

namespace {

using placement::Rect;
using placement::Size;

bool NoOverlap(const std::vector<Rect>& rects) {
  for (std::size_t i = 0; i < rects.size(); ++i)
    for (std::size_t j = i + 1; j < rects.size(); ++j) {
      const Rect& a = rects[i];
      const Rect& b = rects[j];
      if (a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom()) return false;
    }
  return true;
}

int CoveredArea(const std::vector<Rect>& rects) {
  int sum = 0;
  for (const Rect& r : rects) sum += r.width * r.height;
  return sum;
}

}  // namespace

// Cascade keeps every window usable: two thirds of the area at least, each
// title bar visible one step below the last, all inside the area.
TEST(WindowPlacement, CascadeKeepsWindowsLargeAndInside) {
  const Size area{800, 480};
  const Rect bounds{0, 0, 800, 480};
  const auto three = placement::CascadeRects(3, area, 24, {480, 360});
  ASSERT_EQ(three.size(), 3u);
  EXPECT_EQ(three[0], (Rect{0, 0, 752, 432}));
  EXPECT_EQ(three[2], (Rect{48, 48, 752, 432}));
  EXPECT_EQ(three[2].Right(), 800);  // the last ends at the bottom-right
  EXPECT_EQ(three[2].Bottom(), 480);

  // Many windows start the stack over rather than shrink.
  const auto twelve = placement::CascadeRects(12, area, 24, {480, 360});
  ASSERT_EQ(twelve.size(), 12u);
  for (const Rect& r : twelve) {
    EXPECT_TRUE(r.Inside(bounds));
    EXPECT_GE(r.width, 800 * 2 / 3);
    EXPECT_GE(r.height, 360);
  }
  EXPECT_EQ(twelve[6], (Rect{0, 0, 680, 360}));  // (480 - 360) / 24 = 5 steps: six to a stack

  // One window fills the area; an area smaller than the minimum is filled.
  EXPECT_EQ(placement::CascadeRects(1, area, 24, {480, 360})[0], (Rect{0, 0, 800, 480}));
  for (const Rect& r : placement::CascadeRects(4, {300, 200}, 24, {480, 360}))
    EXPECT_EQ(r, (Rect{0, 0, 300, 200}));
  EXPECT_TRUE(placement::CascadeRects(0, area, 24, {}).empty());
  EXPECT_TRUE(placement::CascadeRects(3, {0, 480}, 24, {}).empty());
}

// Tiling covers the area without gaps or overlaps: strips for up to three
// windows, a grid beyond, never a sliver.
TEST(WindowPlacement, TilesCoverTheAreaInStripsOrAGrid) {
  const Size area{800, 480};
  const auto rows = placement::TileRects(2, area, true);
  EXPECT_EQ(rows, (std::vector<Rect>{{0, 0, 800, 240}, {0, 240, 800, 240}}));
  const auto columns = placement::TileRects(3, area, false);
  EXPECT_EQ(columns, (std::vector<Rect>{{0, 0, 266, 480}, {266, 0, 267, 480}, {533, 0, 267, 480}}));

  const auto four = placement::TileRects(4, area, true);
  EXPECT_EQ(four, (std::vector<Rect>{
                      {0, 0, 400, 240}, {0, 240, 400, 240}, {400, 0, 400, 240}, {400, 240, 400, 240}}));

  for (const bool horizontal : {true, false}) {
    for (int n = 1; n <= 10; ++n) {
      const auto tiles = placement::TileRects(n, area, horizontal);
      ASSERT_EQ(static_cast<int>(tiles.size()), n);
      EXPECT_TRUE(NoOverlap(tiles)) << n;
      EXPECT_EQ(CoveredArea(tiles), 800 * 480) << n;
      for (const Rect& r : tiles) {
        // No window below a fifth of the area's side at ten windows.
        EXPECT_GE(r.width, 800 / 4) << n;
        EXPECT_GE(r.height, 480 / 4) << n;
      }
    }
  }
  // Five windows: two lines, the later one taking the extra window.
  const auto five = placement::TileRects(5, area, false);
  EXPECT_EQ(five[0].height, 240);
  EXPECT_EQ(five[1].width, 400);
  EXPECT_EQ(five[4].width, 800 - 533);
  EXPECT_TRUE(placement::TileRects(0, area, true).empty());
}

// A new window opens fully inside the area at three quarters of it, on the
// first cascade step no other window holds.
TEST(WindowPlacement, NewWindowOpensInsideOnAFreeStep) {
  const Size area{800, 480};
  const Rect bounds{0, 0, 800, 480};
  const Size minimum{480, 360};
  Rect first = placement::NewWindowRect(area, {}, 24, minimum);
  EXPECT_EQ(first, (Rect{0, 0, 600, 360}));
  const Rect second = placement::NewWindowRect(area, {first}, 24, minimum);
  EXPECT_EQ(second, (Rect{24, 24, 600, 360}));
  // A maximised window elsewhere (the area's top-left held) is stepped past.
  const Rect third = placement::NewWindowRect(area, {first, second}, 24, minimum);
  EXPECT_EQ(third, (Rect{48, 48, 600, 360}));
  EXPECT_TRUE(third.Inside(bounds));

  // Every step held: back to the top-left, still inside.
  std::vector<Rect> many;
  for (int k = 0; k < 10; ++k) many.push_back(Rect{k * 24, k * 24, 10, 10});
  const Rect crowded = placement::NewWindowRect(area, many, 24, minimum);
  EXPECT_EQ(crowded, (Rect{0, 0, 600, 360}));

  // Small areas: the window fills it, never more.
  EXPECT_EQ(placement::NewWindowRect({400, 300}, {}, 24, minimum), (Rect{0, 0, 400, 300}));
  EXPECT_EQ(placement::NewWindowRect({1600, 1000}, {}, 24, minimum), (Rect{0, 0, 1200, 750}));
  EXPECT_EQ(placement::NewWindowRect({1600, 1000}, {}, 24, minimum, {700, 500}), (Rect{0, 0, 700, 500}));
}

TEST(WindowTitles, ModeWindowsAreToldApartAndNoTitleRepeats) {
  strings::SetStringTablePath(HostPaths::ExecutableDir() + "/" + strings::kFileName);
  EXPECT_EQ(titles::ModeWindowTitle("USB", "PX420B", LiveWindowKind::Measurement), "USB, PX420B - Power");
  EXPECT_EQ(titles::ModeWindowTitle("COM3", "PX470B", LiveWindowKind::Pulse), "COM3, PX470B - Pulse Power");
  EXPECT_EQ(titles::ModeWindowTitle("USB", "PX470B", LiveWindowKind::Ccdf), "USB, PX470B - CCDF");

  EXPECT_EQ(titles::UniqueTitle("a.psh, PX420B", {}), "a.psh, PX420B");
  EXPECT_EQ(titles::UniqueTitle("a.psh, PX420B", {"b", "a.psh, PX420B"}), "a.psh, PX420B [2]");
  EXPECT_EQ(titles::UniqueTitle("a", {"a", "a [2]", "a [4]"}), "a [3]");
}

// The status panes share the bar two thirds to one third while their texts
// fit; a longer text takes what the other leaves; the warning pane wins.
TEST(StatusPaneFit, PanesMakeRoomForWholeTexts) {
  EXPECT_EQ(FitStatusPanes(900, 200, 100), (StatusPaneWidths{600, 300}));
  EXPECT_EQ(FitStatusPanes(900, 0, 0), (StatusPaneWidths{600, 300}));
  // A long warning takes the first pane's slack.
  EXPECT_EQ(FitStatusPanes(780, 250, 480), (StatusPaneWidths{300, 480}));
  // A long first text takes the second pane's slack.
  EXPECT_EQ(FitStatusPanes(600, 500, 60), (StatusPaneWidths{500, 100}));
  // Both cannot fit: the warning gets what the first does not need, at
  // least half the bar, and they wrap.
  EXPECT_EQ(FitStatusPanes(780, 250, 700), (StatusPaneWidths{250, 530}));
  EXPECT_EQ(FitStatusPanes(780, 600, 700), (StatusPaneWidths{390, 390}));
  EXPECT_EQ(FitStatusPanes(780, 600, 300), (StatusPaneWidths{480, 300}));
  EXPECT_EQ(FitStatusPanes(-5, 10, 10), (StatusPaneWidths{0, 0}));
}

}  // namespace wattrix
