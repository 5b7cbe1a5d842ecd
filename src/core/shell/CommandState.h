#pragma once

namespace wattrix {

// Enabled and checked state of one command, as a menu item or tool button
// shows it.
struct CommandState {
  bool enabled = false;
  bool checked = false;
  friend bool operator==(const CommandState&, const CommandState&) = default;
};

}  // namespace wattrix
