#include "ui/shell/FrameMenuSets.h"

#include "ui/shell/FrameAccelerators.h"
#include "ui/shell/MenuBuilder.h"

#include <QMainWindow>
#include <QMenuBar>

namespace wattrix {

namespace {

constexpr std::array<menu::MenuKind, 3> kKinds = {menu::MenuKind::Main, menu::MenuKind::Measurement,
                                                  menu::MenuKind::History};

std::size_t IndexOf(menu::MenuKind kind) {
  switch (kind) {
    case menu::MenuKind::Measurement:
      return 1;
    case menu::MenuKind::History:
      return 2;
    default:
      return 0;
  }
}

menu::AcceleratorTable AcceleratorsOf(menu::MenuKind kind) {
  switch (kind) {
    case menu::MenuKind::Measurement:
      return menu::AcceleratorTable::Measurement;
    case menu::MenuKind::History:
      return menu::AcceleratorTable::History;
    default:
      return menu::AcceleratorTable::MainFrame;
  }
}

}  // namespace

FrameMenuSets::FrameMenuSets(QMainWindow& window, const MenuBuilder& builder, FrameAccelerators& keys)
    : m_window(window), m_keys(keys) {
  for (std::size_t i = 0; i < kKinds.size(); ++i) {
    m_sets[i] = new QMenuBar(&window);  // never shown: it only holds the set's menus
    m_sets[i]->hide();
    builder.FillMenuBar(*m_sets[i], kKinds[i]);
  }
}

void FrameMenuSets::Show(menu::MenuKind kind) {
  QMenuBar& set = *m_sets[IndexOf(kind)];
  QMenuBar* shown = m_window.menuBar();
  shown->clear();
  for (QAction* popup : set.actions()) shown->addAction(popup);
  m_keys.Activate(AcceleratorsOf(kind));
  m_keys.LabelMenus(set);
}

}  // namespace wattrix
