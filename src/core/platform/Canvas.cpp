#include "core/platform/Canvas.h"

#include <cmath>

namespace wattrix {

int PointsToPixels(double points, int dpi) { return static_cast<int>(std::lround(points * dpi / 72.0)); }

}  // namespace wattrix
