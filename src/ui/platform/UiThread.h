#pragma once

#include <functional>

namespace wattrix {

// Helpers for work the user-interface thread has to wait for.
class UiThread final {
 public:
  // Runs `work` on a worker thread and returns when it has ended. Meanwhile
  // the wait cursor is shown and the event loop keeps painting, but user
  // input is held back, so no command can start while the exchange runs.
  // Without a running application the work runs on the calling thread.
  static void RunAndWait(const std::function<void()>& work);
};

}  // namespace wattrix
