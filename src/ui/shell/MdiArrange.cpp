#include "ui/shell/MdiArrange.h"

#include "core/shell/WindowPlacement.h"
#include "core/shell/WindowTitles.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace wattrix {

namespace {

constexpr const char* kPlaceProperty = "wattrixPlace";

QList<QMdiSubWindow*> Arrangeable(QMdiArea& area) {
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder))
    if (window->isVisible() && !window->isMinimized()) windows.append(window);
  return windows;
}

placement::Size AreaSize(const QMdiArea& area) {
  const QSize room = area.viewport()->size();
  return {room.width(), room.height()};
}

QRect ToQRect(const placement::Rect& r) { return QRect(r.x, r.y, r.width, r.height); }

void Apply(const QList<QMdiSubWindow*>& windows, const std::vector<placement::Rect>& rects) {
  for (qsizetype i = 0; i < windows.size() && i < static_cast<qsizetype>(rects.size()); ++i) {
    QMdiSubWindow* window = windows[i];
    if (window->isMaximized()) window->showNormal();
    window->setGeometry(ToQRect(rects[static_cast<std::size_t>(i)]));
  }
}

void Tile(QMdiArea& area, bool horizontal) {
  const auto windows = Arrangeable(area);
  if (windows.isEmpty()) return;
  Apply(windows, placement::TileRects(static_cast<int>(windows.size()), AreaSize(area), horizontal));
}

}  // namespace

QSize MdiArrange::MinimumWindowSize() { return QSize(480, 360); }

int MdiArrange::Step(const QMdiArea& area) {
  QStyleOptionTitleBar option;
  option.initFrom(&area);
  const int title = area.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &area);
  return qMax(title, 16) + 4;
}

void MdiArrange::Cascade(QMdiArea& area) {
  const auto windows = Arrangeable(area);
  if (windows.isEmpty()) return;
  const QSize minimum = MinimumWindowSize();
  Apply(windows, placement::CascadeRects(static_cast<int>(windows.size()), AreaSize(area), Step(area),
                                         {minimum.width(), minimum.height()}));
  // Stacked in order: the last one, on top, is the one to work in.
  for (QMdiSubWindow* window : windows) window->raise();
  area.setActiveSubWindow(windows.last());
}

void MdiArrange::TileHorizontally(QMdiArea& area) { Tile(area, true); }

void MdiArrange::TileVertically(QMdiArea& area) { Tile(area, false); }

QString MdiArrange::UniqueTitle(const QMdiArea& area, const QString& title, const QMdiSubWindow* except) {
  std::vector<std::string> others;
  for (const QMdiSubWindow* other : area.subWindowList()) {
    if (other == except || !other->widget()) continue;
    others.push_back(other->widget()->windowTitle().toStdString());
  }
  return QString::fromStdString(titles::UniqueTitle(title.toStdString(), others));
}

void MdiArrange::PlaceNew(QMdiArea& area, QMdiSubWindow& window) {
  std::vector<placement::Rect> others;
  for (QMdiSubWindow* other : area.subWindowList()) {
    if (other == &window || !other->isVisible()) continue;
    // A maximised window holds the place it returns to.
    const QRect r = other->isMaximized() ? other->property(kPlaceProperty).toRect() : other->geometry();
    if (r.isValid()) others.push_back({r.x(), r.y(), r.width(), r.height()});
  }
  const QSize minimum = MinimumWindowSize();
  const placement::Rect place =
      placement::NewWindowRect(AreaSize(area), others, Step(area), {minimum.width(), minimum.height()});
  window.setGeometry(ToQRect(place));
  window.setProperty(kPlaceProperty, ToQRect(place));
}

}  // namespace wattrix
