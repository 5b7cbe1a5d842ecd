#pragma once

#include <functional>

class QWidget;

namespace wattrix {

class LogTransferControl;

// Runs a long transfer off the user-interface thread with a modal progress
// box over `owner`: bytes received of the total (from `control`) and a
// Cancel button that cancels `control`. The windows keep painting; the
// call returns once `work` has ended. The box is named "transferProgress".
class TransferProgress final {
 public:
  static void Run(QWidget* owner, LogTransferControl& control, const std::function<void()>& work);
};

}  // namespace wattrix
