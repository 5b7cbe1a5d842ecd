#pragma once

class QMdiArea;
class QMdiSubWindow;
class QSize;
class QString;

namespace wattrix {

// The Window menu's arrangements of the document area's child windows, and
// where a new one opens. The geometry comes from core's placement rules;
// this only applies it.
class MdiArrange final {
 public:
  // Windows are never arranged or opened below this size where the area
  // allows it: the panels and graphs need room to be read.
  static QSize MinimumWindowSize();

  static void Cascade(QMdiArea& area);
  // One above the other, each the full width of the area (a grid from four
  // windows on).
  static void TileHorizontally(QMdiArea& area);
  // Side by side, each the full height of the area (a grid from four on).
  static void TileVertically(QMdiArea& area);

  // Gives a window not yet shown its place: fully inside the area, on the
  // first free cascade step, three quarters of the area. A window that is
  // then shown maximised comes back to this place when restored.
  static void PlaceNew(QMdiArea& area, QMdiSubWindow& window);
  // `title` made unique among the other windows' titles ("title [2]" ...).
  static QString UniqueTitle(const QMdiArea& area, const QString& title, const QMdiSubWindow* except);
  // One title bar's height: the cascade step.
  static int Step(const QMdiArea& area);
};

}  // namespace wattrix
