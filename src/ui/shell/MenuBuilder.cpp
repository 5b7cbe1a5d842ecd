#include "ui/shell/MenuBuilder.h"

#include "core/strings/StringTable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace wattrix {

namespace {

QString MenuText(const char* key) { return QString::fromStdString(strings::GetMenuText(key)); }

}  // namespace

MenuBuilder::MenuBuilder(Router route, StateQuery query)
    : m_route(std::move(route)), m_query(std::move(query)) {}

void MenuBuilder::Fill(QMenu& menu, std::span<const menu::MenuEntry> entries) const {
  for (const auto& entry : entries) {
    switch (entry.kind) {
      case menu::EntryKind::Separator:
        menu.addSeparator();
        break;
      case menu::EntryKind::Popup: {
        QMenu* sub = menu.addMenu(MenuText(entry.key));
        Fill(*sub, entry.children);
        break;
      }
      case menu::EntryKind::Item: {
        QAction* action = menu.addAction(MenuText(entry.key));
        const int id = entry.command;
        action->setData(id);
        QObject::connect(action, &QAction::triggered, action, [route = m_route, id] { route(id); });
        break;
      }
    }
  }
  QObject::connect(&menu, &QMenu::aboutToShow, &menu, [this, m = &menu] { UpdateStates(*m); });
}

void MenuBuilder::FillMenuBar(QMenuBar& bar, menu::MenuKind kind) const {
  bar.clear();
  for (const auto& popup : menu::Menu(kind)) {
    QMenu* m = bar.addMenu(MenuText(popup.key));
    Fill(*m, popup.children);
  }
}

QMenu* MenuBuilder::BuildPopup(menu::MenuKind kind, QWidget* parent) const {
  auto* m = new QMenu(parent);  // owned by parent
  for (const auto& popup : menu::Menu(kind)) Fill(*m, popup.children);
  return m;
}

void MenuBuilder::UpdateStates(QMenu& menu) const {
  for (QAction* action : menu.actions()) {
    if (QMenu* sub = action->menu()) {
      UpdateStates(*sub);
      continue;
    }
    if (action->isSeparator() || !action->data().isValid()) continue;
    const CommandState state = m_query(action->data().toInt());
    action->setEnabled(state.enabled);
    // Only a checked item shows a mark, as in the platform's own menus; an
    // unchecked one shows no empty box.
    action->setCheckable(state.checked);
    action->setChecked(state.checked);
  }
}

}  // namespace wattrix
