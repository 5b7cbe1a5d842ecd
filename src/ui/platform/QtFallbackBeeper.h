#pragma once

#include "core/platform/Beeper.h"

namespace wattrix {

// The beep of the window system (QApplication::beep), for when the sound
// theme cannot play. Safe from any thread: the beep is posted to the
// application's event loop.
class QtFallbackBeeper final : public Beeper {
 public:
  void Beep(unsigned type) override;
};

}  // namespace wattrix
