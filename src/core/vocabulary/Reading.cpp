#include "core/vocabulary/Reading.h"

namespace wattrix {

Reading Reading::Of(RequestKind kind, ReplyKind status, std::initializer_list<std::int32_t> values) {
  Reading reading;
  reading.kind = kind;
  reading.status = status;
  std::size_t i = 0;
  for (const std::int32_t value : values) {
    if (i == kMaxValues) break;
    reading.values[i++] = value;
  }
  return reading;
}

Reading Reading::OfSweep(ReplyKind status, std::shared_ptr<const CcdfHistogram> sweep) {
  Reading reading = Of(RequestKind::Ccdf, status);
  reading.histogram = std::move(sweep);
  return reading;
}

const CcdfHistogram& Reading::Histogram() const {
  static const CcdfHistogram kEmpty;
  return histogram ? *histogram : kEmpty;
}

}  // namespace wattrix
