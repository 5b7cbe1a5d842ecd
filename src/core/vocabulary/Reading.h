#pragma once

#include "core/vocabulary/CcdfHistogram.h"
#include "core/vocabulary/ReplyKind.h"
#include "core/vocabulary/RequestKind.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>

namespace wattrix {

// One answer of the acquisition thread, as it travels to the window that
// asked: the request it answers, the status and the raw values.
//
// `status` is the kind of the parsed reply (Measurement on success) and
// None on failure, when every value is -1. Powers are raw sensor values in
// 0.01 dB, before offset and corrections. Copies are cheap: a CCDF sweep is
// shared, not copied, and never changed after it was read.
struct Reading {
  static constexpr std::size_t kMaxValues = 5;

  RequestKind kind = RequestKind::Average;
  ReplyKind status = ReplyKind::None;
  // Average, Peak, Reverse: [0] the power. AverageReverse: forward and
  // reverse. Pulse: the five [GU] values in reply order (the fifth the time
  // base code 1, 2, 4, 8 or 16). Unused places hold -1.
  std::array<std::int32_t, kMaxValues> values{-1, -1, -1, -1, -1};
  // Ccdf only: the sweep (empty after a failed exchange); never null there.
  std::shared_ptr<const CcdfHistogram> histogram;

  // A reading of `kind` with `status` and the reply's values in order.
  static Reading Of(RequestKind kind, ReplyKind status, std::initializer_list<std::int32_t> values = {});
  // A CCDF reading carrying `sweep`.
  static Reading OfSweep(ReplyKind status, std::shared_ptr<const CcdfHistogram> sweep);

  bool Answered() const { return status == ReplyKind::Measurement; }
  std::int32_t Value(std::size_t index = 0) const { return values[index]; }
  const CcdfHistogram& Histogram() const;
};

}  // namespace wattrix
