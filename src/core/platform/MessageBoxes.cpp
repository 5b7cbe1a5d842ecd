#include "core/platform/MessageBoxes.h"

#include <atomic>
#include <cstdio>

namespace wattrix {

namespace {

class StderrMessageBoxes final : public MessageBoxes {
 public:
  int Show(void*, const std::string& text, const std::string& caption, unsigned type) override {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    const unsigned buttons = type & mb::kButtonMask;
    if (buttons == mb::kYesNo || buttons == mb::kYesNoCancel) return mb::kIdNo;
    return mb::kIdOk;
  }
};

StderrMessageBoxes g_default;
std::atomic<MessageBoxes*> g_current{nullptr};

}  // namespace

void SetMessageBoxes(MessageBoxes* presenter) { g_current.store(presenter); }

MessageBoxes& CurrentMessageBoxes() {
  MessageBoxes* current = g_current.load();
  return current ? *current : g_default;
}

}  // namespace wattrix
