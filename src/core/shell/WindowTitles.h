#pragma once

#include "core/vocabulary/LiveWindowKind.h"

#include <string>
#include <vector>

namespace wattrix::titles {

// "COM3, PX420B - Pulse Power": the connection, the model and the window's
// localised name, so that the measurement, pulse and CCDF windows of one
// sensor are told apart.
std::string ModeWindowTitle(const std::string& connection, const std::string& model, LiveWindowKind kind);

// `title`, or "title [2]", "title [3]" ... so that no title in `others`
// repeats it: two windows never carry the same title.
std::string UniqueTitle(const std::string& title, const std::vector<std::string>& others);

}  // namespace wattrix::titles
