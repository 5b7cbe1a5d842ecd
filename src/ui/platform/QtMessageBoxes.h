#pragma once

#include "core/platform/MessageBoxes.h"

namespace wattrix {

// Message boxes of the core (MessageBoxKey and friends) as QMessageBox:
// the icon and buttons follow the box type, the owner is a QWidget*.
class QtMessageBoxes final : public MessageBoxes {
 public:
  int Show(void* owner, const std::string& text, const std::string& caption, unsigned type) override;
};

}  // namespace wattrix
