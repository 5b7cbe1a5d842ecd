#include "ui/shell/MdiArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace wattrix {

namespace {

QList<QMdiSubWindow*> Arrangeable(QMdiArea& area) {
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder))
    if (window->isVisible() && !window->isMinimized()) windows.append(window);
  return windows;
}

void Tile(QMdiArea& area, bool rows) {
  const auto windows = Arrangeable(area);
  if (windows.isEmpty()) return;
  const QRect room = area.viewport()->rect();
  const int n = static_cast<int>(windows.size());
  const int extent = rows ? room.height() : room.width();
  for (int i = 0; i < n; ++i) {
    QMdiSubWindow* window = windows[i];
    if (window->isMaximized()) window->showNormal();
    const int from = extent * i / n;
    const int to = extent * (i + 1) / n;
    window->setGeometry(rows ? QRect(0, from, room.width(), to - from)
                             : QRect(from, 0, to - from, room.height()));
  }
}

}  // namespace

void MdiArrange::Cascade(QMdiArea& area) {
  for (QMdiSubWindow* window : Arrangeable(area))
    if (window->isMaximized()) window->showNormal();
  area.cascadeSubWindows();
}

void MdiArrange::TileHorizontally(QMdiArea& area) { Tile(area, true); }

void MdiArrange::TileVertically(QMdiArea& area) { Tile(area, false); }

}  // namespace wattrix
