#pragma once

#include "core/vocabulary/CcdfHistogram.h"
#include "core/device/ReadingSink.h"

#include <cstdint>
#include <functional>

namespace wattrix {

// A sink that runs nothing on the acquisition thread: each delivery is
// copied into a call and handed to Post, which has it run against the real
// receiver on the thread that owns the window's logic.
class PostingSink : public ReadingSink {
 public:
  // One delivery, to be run against the receiver.
  using Call = std::function<void(ReadingSink&)>;

  void OnAverageReading(int status, std::int32_t power) final;
  void OnReverseReading(int status, std::int32_t power) final;
  void OnPeakReading(int status, std::int32_t power) final;
  void OnAverageReverseReading(int status, std::int32_t forward, std::int32_t reverse) final;
  void OnPulseReading(int status, std::int32_t pulse, std::int32_t c1, std::int32_t c2, std::int32_t c3,
                      std::int32_t timebase) final;
  void OnCcdfAcquired(int status, const CcdfHistogram& histogram) final;

 protected:
  // Called on the acquisition thread; must return quickly.
  virtual void Post(Call call) = 0;
};

}  // namespace wattrix
