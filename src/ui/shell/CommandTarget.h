#pragma once

#include "core/vocabulary/CommandState.h"

namespace wattrix {

// Something that handles numbered commands: views, child frames and the
// main frame. Commands go to the active child's view first, then its
// frame, then the main frame; the first target that handles one ends it.
class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  // True when this target handled the command.
  virtual bool OnCommand(int id) = 0;
  // True when this target decides the state of the command (and set it).
  virtual bool UpdateCommand(int id, CommandState& state) = 0;
};

}  // namespace wattrix
