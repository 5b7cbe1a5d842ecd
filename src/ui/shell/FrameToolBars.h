#pragma once

#include "core/shell/MenuLayout.h"
#include "ui/shell/CommandTarget.h"

#include <QObject>

#include <array>
#include <functional>

class QMainWindow;
class QToolBar;

namespace wattrix {

// The frame's three tool bars (main frame alone, history window,
// measurement window) with our own 32 × 32 icons. Only the one for the
// active child is visible, unless the user hid them all.
class FrameToolBars final : public QObject {
  Q_OBJECT

 public:
  enum class Bar { Main = 0, History = 1, Measurement = 2 };
  using Router = std::function<void(int id)>;
  using StateQuery = std::function<CommandState(int id)>;

  // Adds the bars to the window's top area; only the main bar is shown.
  FrameToolBars(QMainWindow& window, Router route, StateQuery query);

  // The bar that goes with a menu set.
  static Bar BarOf(menu::MenuKind kind);

  QToolBar* ToolBar(Bar bar) const { return m_bars[static_cast<int>(bar)]; }
  bool AnyVisible() const;
  // Hides all three and shows `bar`.
  void Show(Bar bar);
  void HideAll();
  // Button states from the query, for the visible bar.
  void UpdateStates();
  // Rebuilds the tool tips from the string table.
  void RetranslateTips();

 private:
  void Fill(Bar bar);

  QMainWindow& m_window;
  Router m_route;
  StateQuery m_query;
  std::array<QToolBar*, 3> m_bars{};
};

}  // namespace wattrix
