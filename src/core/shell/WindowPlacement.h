#pragma once

#include <string>
#include <vector>

namespace wattrix {

// Geometry of the document area's child windows: where Cascade, Tile and a
// newly opened window put them. Plain integer rectangles in the area's
// coordinates (0, 0 is the area's top-left).
namespace placement {

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
  bool Inside(const Rect& outer) const {
    return x >= outer.x && y >= outer.y && Right() <= outer.Right() && Bottom() <= outer.Bottom();
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
};

// Cascade: each window a step (one title bar) right and down from the one
// before, all of one size, so that every title bar stays visible and the
// last window ends at the area's bottom-right. The stack starts over at the
// top-left before the windows would shrink below two thirds of the area or
// `minimum`.
std::vector<Rect> CascadeRects(int count, Size area, int step, Size minimum);

// Tile: rows (`horizontal`, windows as wide as possible) or columns. Up to
// three windows share the area in strips; more make a grid of
// floor(sqrt(n)) columns (rows when vertical), the last ones taking one
// window more, so that no window becomes a sliver.
std::vector<Rect> TileRects(int count, Size area, bool horizontal);

// A new window: `preferred` (three quarters of the area when 0 × 0), within
// the area and at least `minimum` where the area allows, placed on the
// first cascade step whose top-left no other window holds and that keeps
// it fully inside the area; the area's top-left otherwise.
Rect NewWindowRect(Size area, const std::vector<Rect>& others, int step, Size minimum, Size preferred = {});

}  // namespace placement
}  // namespace wattrix
