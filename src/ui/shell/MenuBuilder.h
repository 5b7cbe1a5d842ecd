#pragma once

#include "core/shell/MenuLayout.h"
#include "ui/shell/CommandTarget.h"

#include <functional>

class QMenu;
class QMenuBar;
class QWidget;

namespace wattrix {

// Builds Qt menus from the program's menu tables: every item is a QAction
// whose data is its command id and whose text is the string-table text of
// its key. Triggering an item calls `route`; before a menu opens, each item
// takes its enabled/checked state from `query`. The builder must outlive
// the menus it builds.
class MenuBuilder final {
 public:
  using Router = std::function<void(int id)>;
  using StateQuery = std::function<CommandState(int id)>;

  MenuBuilder(Router route, StateQuery query);

  // Empties the bar, then fills it with the popups of `kind`.
  void FillMenuBar(QMenuBar& bar, menu::MenuKind kind) const;
  // A right-click menu (MeasurementPopup or HistoryPopup), owned by parent.
  QMenu* BuildPopup(menu::MenuKind kind, QWidget* parent) const;
  // Sets the state of every action of the menu and its sub-menus.
  void UpdateStates(QMenu& menu) const;

 private:
  void Fill(QMenu& menu, std::span<const menu::MenuEntry> entries) const;

  Router m_route;
  StateQuery m_query;
};

}  // namespace wattrix
