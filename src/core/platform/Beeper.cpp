#include "core/platform/Beeper.h"

#include <atomic>

namespace wattrix {

namespace {

class SilentBeeper final : public Beeper {
 public:
  void Beep(unsigned) override {}
};

SilentBeeper g_silent;
std::atomic<Beeper*> g_current{nullptr};

}  // namespace

void SetBeeper(Beeper* beeper) { g_current.store(beeper); }

Beeper& CurrentBeeper() {
  Beeper* current = g_current.load();
  return current ? *current : g_silent;
}

}  // namespace wattrix
