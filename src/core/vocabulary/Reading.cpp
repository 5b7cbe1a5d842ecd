#include "core/vocabulary/Reading.h"

namespace wattrix {

const CcdfHistogram& Reading::Histogram() const {
  static const CcdfHistogram kEmpty;
  return histogram ? *histogram : kEmpty;
}

}  // namespace wattrix
