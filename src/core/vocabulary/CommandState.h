#pragma once

namespace wattrix {

// Enabled and checked state of one command, as a menu item or tool button
// shows it. One definition for the core's command logic and the windows'
// command routing.
struct CommandState {
  bool enabled = false;
  bool checked = false;
  friend bool operator==(const CommandState&, const CommandState&) = default;
};

}  // namespace wattrix
