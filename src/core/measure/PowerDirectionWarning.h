#pragma once

#include <cstdint>
#include <string>

namespace wattrix {

// The direction check a window runs at Start on a directional sensor that
// measures forward and reverse power: the status-bar text for its result,
// "S_SETTING_WARNING_POWER" with the two raw levels when the average is
// below the reverse power (sensor connected the wrong way round), and an
// empty text otherwise.
std::string PowerDirectionWarning(bool reversed, std::int32_t average, std::int32_t reverse);

}  // namespace wattrix
