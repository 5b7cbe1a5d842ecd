#pragma once

#include "core/vocabulary/RequestKind.h"

#include <cstdint>

namespace wattrix {

// One request a window hands the acquisition thread, with everything the
// command needs: the sensor does not look at the settings record.
struct MeasurementRequest {
  RequestKind kind = RequestKind::Average;
  std::int32_t frequency100 = 0;  // MHz × 100, the command's parameter
  int timeoutMs = 0;
  // External offset in 0.01 dB at request time; moves the CCDF keys.
  std::int32_t offset100 = 0;
};

}  // namespace wattrix
