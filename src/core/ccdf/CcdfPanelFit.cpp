#include "core/ccdf/CcdfPanelFit.h"

#include <algorithm>

namespace wattrix {

namespace {

int PointsOf(const PanelItem& item, int shrink) {
  return std::max(std::min(item.pointSize, kMinPanelPoints), item.pointSize - shrink);
}

// The shrink beyond which no item gets smaller.
int LargestShrink(const PanelItems& items) {
  int largest = 0;
  for (const auto& entry : items) largest = std::max(largest, entry.second.pointSize - kMinPanelPoints);
  return largest;
}

}  // namespace

PanelFit LayOutPanelLines(const PanelItems& items, const std::vector<std::string>& texts, int width,
                          int height, int shrink, const PanelMeasure& measure) {
  PanelFit fit;
  fit.shrink = std::clamp(shrink, 0, LargestShrink(items));
  std::vector<int> heights;
  std::vector<int> widths;
  std::size_t line = 0;
  for (const auto& entry : items) {
    const std::string& text = line < texts.size() ? texts[line] : entry.second.text;
    // An empty line still takes the height of its font.
    const PanelTextSize size = measure(PointsOf(entry.second, fit.shrink), text);
    widths.push_back(text.empty() ? 0 : size.width);
    heights.push_back(size.height);
    ++line;
  }
  const int firstTop = items.empty() ? 0 : items.begin()->second.y;
  const std::vector<int> tops = PanelLineTops(heights, firstTop);
  fit.fits = true;
  line = 0;
  for (const auto& entry : items) {
    const PanelFit::Line l{entry.second.x, tops[line], widths[line], heights[line]};
    if (l.width > 0 && l.left + l.width > width - kPanelMargin) fit.fits = false;
    if (l.top + l.height > height - kPanelMargin) fit.fits = false;
    fit.lines.push_back(l);
    ++line;
  }
  return fit;
}

PanelFit FitPanelLines(const PanelItems& items, const std::vector<std::string>& texts, int width, int height,
                       int from, const PanelMeasure& measure) {
  const int largest = LargestShrink(items);
  for (int shrink = std::clamp(from, 0, largest);; ++shrink) {
    PanelFit fit = LayOutPanelLines(items, texts, width, height, shrink, measure);
    if (fit.fits || shrink >= largest) return fit;
  }
}

}  // namespace wattrix
