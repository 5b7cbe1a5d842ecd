#pragma once

#include <functional>

namespace wattrix {

// Runs `work` on a worker thread while the wait cursor shows and the
// event loop keeps painting (user input is held back until it ends).
void WaitForWork(const std::function<void()>& work);

}  // namespace wattrix
