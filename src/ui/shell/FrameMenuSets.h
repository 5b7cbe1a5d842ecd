#pragma once

#include "core/shell/MenuLayout.h"

#include <array>

class QMainWindow;
class QMenuBar;

namespace wattrix {

class FrameAccelerators;
class MenuBuilder;

// The frame's three menu sets (no child, a live window, a history window),
// built once into hidden bars; the window's menu bar shows the popups of
// one set, with the keys of that set active and written beside the items.
class FrameMenuSets final {
 public:
  FrameMenuSets(QMainWindow& window, const MenuBuilder& builder, FrameAccelerators& keys);

  // Main, Measurement or History.
  void Show(menu::MenuKind kind);

 private:
  QMainWindow& m_window;
  FrameAccelerators& m_keys;
  std::array<QMenuBar*, 3> m_sets{};
};

}  // namespace wattrix
