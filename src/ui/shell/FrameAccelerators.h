#pragma once

#include "core/shell/MenuLayout.h"
#include "ui/shell/CommandTarget.h"

#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace wattrix {

// The keyboard accelerators of the kind of window that is active. Each key
// routes its command when the command is enabled at that moment, as a menu
// item would; the menus show the keys beside their items.
class FrameAccelerators final : public QObject {
  Q_OBJECT

 public:
  using Router = std::function<void(int id)>;
  using StateQuery = std::function<CommandState(int id)>;

  FrameAccelerators(QWidget& window, Router route, StateQuery query);

  // Makes `table` the active set of keys.
  void Activate(menu::AcceleratorTable table);
  menu::AcceleratorTable Active() const { return m_active; }
  // The key actions of the active table.
  const QList<QAction*>& Actions() const { return m_actions; }
  // Writes the active keys beside the matching items of the menu bar.
  void LabelMenus(QMenuBar& bar) const;

 private:
  void Label(QMenu& menu) const;

  QWidget& m_window;
  Router m_route;
  StateQuery m_query;
  menu::AcceleratorTable m_active = menu::AcceleratorTable::MainFrame;
  QList<QAction*> m_actions;
};

}  // namespace wattrix
