#pragma once

#include "core/ccdf/CcdfPanels.h"

#include <functional>
#include <string>
#include <vector>

namespace wattrix {

// Where the lines of a CCDF panel go when its items are drawn a number of
// points smaller than their own sizes.
struct PanelFit {
  int shrink = 0;  // points taken off every item's size
  struct Line {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
  };
  std::vector<Line> lines;  // in index order
  bool fits = false;        // every line lies inside the panel
};

// Width and line height of a text in the bold panel font of `points`.
struct PanelTextSize {
  int width = 0;
  int height = 0;
};
using PanelMeasure = std::function<PanelTextSize(int points, const std::string& text)>;

// Smallest size a panel line is shrunk to; below it text stops being
// readable, so a panel that small lets its lines run over the edge.
inline constexpr int kMinPanelPoints = 7;
// Room kept free at the right and bottom edges.
inline constexpr int kPanelMargin = 4;

// The lines of a panel of width × height with `texts` (one per item, in
// index order) drawn `shrink` points smaller, never below kMinPanelPoints.
PanelFit LayOutPanelLines(const PanelItems& items, const std::vector<std::string>& texts, int width,
                          int height, int shrink, const PanelMeasure& measure);

// The least shrink from `from` up at which every line fits the panel; the
// largest useful shrink (all items at kMinPanelPoints) when none does.
// Keeping the items' sizes where there is room and taking points off all
// lines alike keeps the headings above the lines they head.
PanelFit FitPanelLines(const PanelItems& items, const std::vector<std::string>& texts, int width, int height,
                       int from, const PanelMeasure& measure);

}  // namespace wattrix
