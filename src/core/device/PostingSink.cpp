#include "core/device/PostingSink.h"

#include <utility>

namespace wattrix {

void PostingSink::OnAverageReading(int status, std::int32_t power) {
  Post([=](ReadingSink& sink) { sink.OnAverageReading(status, power); });
}

void PostingSink::OnReverseReading(int status, std::int32_t power) {
  Post([=](ReadingSink& sink) { sink.OnReverseReading(status, power); });
}

void PostingSink::OnPeakReading(int status, std::int32_t power) {
  Post([=](ReadingSink& sink) { sink.OnPeakReading(status, power); });
}

void PostingSink::OnAverageReverseReading(int status, std::int32_t forward, std::int32_t reverse) {
  Post([=](ReadingSink& sink) { sink.OnAverageReverseReading(status, forward, reverse); });
}

void PostingSink::OnPulseReading(int status, std::int32_t pulse, std::int32_t c1, std::int32_t c2,
                                 std::int32_t c3, std::int32_t timebase) {
  Post([=](ReadingSink& sink) { sink.OnPulseReading(status, pulse, c1, c2, c3, timebase); });
}

void PostingSink::OnCcdfAcquired(int status, const CcdfHistogram& histogram) {
  // The histogram is valid only during the call: keep a copy.
  Post([status, copy = histogram](ReadingSink& sink) { sink.OnCcdfAcquired(status, copy); });
}

}  // namespace wattrix
