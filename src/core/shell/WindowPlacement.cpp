#include "core/shell/WindowPlacement.h"

#include <algorithm>
#include <cmath>

namespace wattrix::placement {

namespace {

// Splits `extent` into `parts` pieces that differ by at most one pixel.
int Edge(int extent, int index, int parts) { return extent * index / parts; }

}  // namespace

std::vector<Rect> CascadeRects(int count, Size area, int step, Size minimum) {
  std::vector<Rect> rects;
  if (count <= 0 || area.width <= 0 || area.height <= 0) return rects;
  step = std::max(step, 1);
  // The windows keep two thirds of the area (or the minimum, when larger)
  // and the steps take the rest, so the stack never shrinks them further.
  const int keepW = std::min(area.width, std::max(area.width * 2 / 3, minimum.width));
  const int keepH = std::min(area.height, std::max(area.height * 2 / 3, minimum.height));
  const int maxSteps = std::min((area.width - keepW) / step, (area.height - keepH) / step);
  const int perStack = std::min(count, maxSteps + 1);
  const int width = area.width - (perStack - 1) * step;
  const int height = area.height - (perStack - 1) * step;
  for (int i = 0; i < count; ++i) {
    const int k = i % perStack;
    rects.push_back(Rect{k * step, k * step, width, height});
  }
  return rects;
}

std::vector<Rect> TileRects(int count, Size area, bool horizontal) {
  std::vector<Rect> rects;
  if (count <= 0 || area.width <= 0 || area.height <= 0) return rects;
  // Lines are the columns of a horizontal tiling (windows stacked in each)
  // and the rows of a vertical one.
  const int lines = count <= 3 ? 1 : static_cast<int>(std::floor(std::sqrt(static_cast<double>(count))));
  const int across = horizontal ? area.width : area.height;
  const int along = horizontal ? area.height : area.width;
  int index = 0;
  for (int line = 0; line < lines; ++line) {
    // The later lines take the windows left over.
    const int inLine = count / lines + (line >= lines - count % lines ? 1 : 0);
    const int from = Edge(across, line, lines);
    const int to = Edge(across, line + 1, lines);
    for (int j = 0; j < inLine && index < count; ++j, ++index) {
      const int a = Edge(along, j, inLine);
      const int b = Edge(along, j + 1, inLine);
      rects.push_back(horizontal ? Rect{from, a, to - from, b - a} : Rect{a, from, b - a, to - from});
    }
  }
  return rects;
}

Rect NewWindowRect(Size area, const std::vector<Rect>& others, int step, Size minimum, Size preferred) {
  if (area.width <= 0 || area.height <= 0)
    return Rect{0, 0, std::max(area.width, 0), std::max(area.height, 0)};
  step = std::max(step, 1);
  if (preferred.width <= 0 || preferred.height <= 0) preferred = {area.width * 3 / 4, area.height * 3 / 4};
  const int width = std::min(area.width, std::max(preferred.width, minimum.width));
  const int height = std::min(area.height, std::max(preferred.height, minimum.height));
  const Rect bounds{0, 0, area.width, area.height};
  for (int k = 0;; ++k) {
    const Rect candidate{k * step, k * step, width, height};
    if (!candidate.Inside(bounds)) break;
    const bool held = std::any_of(others.begin(), others.end(), [&candidate](const Rect& other) {
      return other.x == candidate.x && other.y == candidate.y;
    });
    if (!held) return candidate;
  }
  return Rect{0, 0, width, height};
}

}  // namespace wattrix::placement
