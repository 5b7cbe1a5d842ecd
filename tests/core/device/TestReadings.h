#pragma once

#include "core/vocabulary/Reading.h"

#include <cstdint>
#include <memory>

namespace wattrix::test {

// Readings as the acquisition thread delivers them, for feeding a
// window's logic directly. `status` is the reply kind (1 answered, 0 a
// failed exchange).
inline Reading MakeReading(RequestKind kind, int status, std::initializer_list<std::int32_t> values) {
  return Reading::Of(kind, static_cast<ReplyKind>(status), values);
}
inline Reading AverageReading(int status, std::int32_t power) {
  return MakeReading(RequestKind::Average, status, {power});
}
inline Reading PeakReading(int status, std::int32_t power) {
  return MakeReading(RequestKind::Peak, status, {power});
}
inline Reading ReverseReading(int status, std::int32_t power) {
  return MakeReading(RequestKind::Reverse, status, {power});
}
inline Reading AverageReverseReading(int status, std::int32_t forward, std::int32_t reverse) {
  return MakeReading(RequestKind::AverageReverse, status, {forward, reverse});
}
inline Reading PulseReading(int status, std::int32_t power, std::int32_t c1, std::int32_t c2, std::int32_t c3,
                            std::int32_t timebase) {
  return MakeReading(RequestKind::Pulse, status, {power, c1, c2, c3, timebase});
}
inline Reading CcdfReading(int status, const CcdfHistogram& histogram) {
  return Reading::OfSweep(static_cast<ReplyKind>(status), std::make_shared<const CcdfHistogram>(histogram));
}

}  // namespace wattrix::test
