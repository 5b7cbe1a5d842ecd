#pragma once

#include "core/vocabulary/CcdfHistogram.h"

#include <cstdint>

namespace wattrix {

// Receiver of the acquisition thread's readings: a measurement, pulse or
// CCDF window. Every entry point is called on the acquisition thread; an
// implementation hands the values to its own thread and returns quickly,
// and never waits for the thread that unregisters it.
//
// `status` is the reply kind of the parsed reply on success (1 for a
// measurement) and 0 on failure, when every value is -1. Powers are raw
// sensor values in 0.01 dB, before offset and corrections.
class ReadingSink {
 public:
  virtual ~ReadingSink() = default;

  virtual void OnAverageReading(int /*status*/, std::int32_t /*power*/) {}
  virtual void OnReverseReading(int /*status*/, std::int32_t /*power*/) {}
  virtual void OnPeakReading(int /*status*/, std::int32_t /*power*/) {}
  virtual void OnAverageReverseReading(int /*status*/, std::int32_t /*forward*/, std::int32_t /*reverse*/) {}
  // The five [GU] values in reply order; the fifth is the time base code
  // (1, 2, 4, 8 or 16).
  virtual void OnPulseReading(int /*status*/, std::int32_t /*pulse*/, std::int32_t /*c1*/,
                              std::int32_t /*c2*/, std::int32_t /*c3*/, std::int32_t /*timebase*/) {}
  // `histogram` is valid only during the call; copy what is kept.
  virtual void OnCcdfAcquired(int /*status*/, const CcdfHistogram& /*histogram*/) {}
};

}  // namespace wattrix
