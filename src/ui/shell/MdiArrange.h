#pragma once

class QMdiArea;

namespace wattrix {

// The Window menu's arrangements of the document area's child windows.
class MdiArrange final {
 public:
  static void Cascade(QMdiArea& area);
  // One above the other, each the full width of the area.
  static void TileHorizontally(QMdiArea& area);
  // Side by side, each the full height of the area.
  static void TileVertically(QMdiArea& area);
};

}  // namespace wattrix
