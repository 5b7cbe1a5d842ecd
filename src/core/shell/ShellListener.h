#pragma once

#include "core/shell/MenuLayout.h"

#include <string>

namespace wattrix {

// How the shell controller tells the main frame what changed; the frame
// only updates its widgets.
class ShellListener {
 public:
  virtual ~ShellListener() = default;

  // Some command's enabled or checked state may have changed: whatever
  // shows command states (the tool bar) asks again.
  virtual void CommandStatesChanged() = 0;
  // New text for status-bar pane 0 or 1; empty clears it.
  virtual void StatusTextChanged(int pane, const std::string& text) = 0;
  // The menu bar, keys and tool bar of `kind` belong on screen now.
  virtual void MenuSetChanged(menu::MenuKind kind) = 0;
  // The user showed or hid the tool bars, or the status bar.
  virtual void ToolBarsShown(bool shown) = 0;
  virtual void StatusBarShown(bool shown) = 0;
};

}  // namespace wattrix
