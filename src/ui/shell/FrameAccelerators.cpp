#include "ui/shell/FrameAccelerators.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace wattrix {

FrameAccelerators::FrameAccelerators(QWidget& window, Router route, StateQuery query)
    : QObject(&window), m_window(window), m_route(std::move(route)), m_query(std::move(query)) {
  Activate(menu::AcceleratorTable::MainFrame);
}

void FrameAccelerators::Activate(menu::AcceleratorTable table) {
  for (QAction* action : m_actions) {
    m_window.removeAction(action);
    delete action;  // owned by this object
  }
  m_actions.clear();
  m_active = table;
  for (const auto& key : menu::Accelerators(table)) {
    auto* action = new QAction(this);
    action->setShortcut(QKeySequence(QString::fromLatin1(key.chord)));
    action->setShortcutContext(Qt::WindowShortcut);
    const int id = key.command;
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] {
      if (m_query(id).enabled) m_route(id);
    });
    m_window.addAction(action);
    m_actions.append(action);
  }
}

void FrameAccelerators::LabelMenus(QMenuBar& bar) const {
  for (QAction* popup : bar.actions())
    if (QMenu* menu = popup->menu()) Label(*menu);
}

void FrameAccelerators::Label(QMenu& menu) const {
  for (QAction* item : menu.actions()) {
    if (QMenu* sub = item->menu()) {
      Label(*sub);
      continue;
    }
    if (item->isSeparator() || !item->data().isValid()) continue;
    const int id = item->data().toInt();
    for (const auto& key : menu::Accelerators(m_active)) {
      if (key.command != id) continue;
      // Text after a tab is drawn in the menu's shortcut column; the key
      // itself belongs to the frame-wide action, so it is never ambiguous.
      QString text = item->text().section(u'\t', 0, 0);
      text += u'\t' + QKeySequence(QString::fromLatin1(key.chord)).toString(QKeySequence::NativeText);
      item->setText(text);
      break;
    }
  }
}

}  // namespace wattrix
