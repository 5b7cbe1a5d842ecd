#pragma once

#include "core/vocabulary/RequestKind.h"

#include <cstddef>
#include <cstdint>

namespace wattrix {

// How the acquisition thread reads the reply of one request.
enum class ReplyShape {
  SingleValue,   // one "P" value, checked as a measurement reply
  ValueFrame,    // a fixed "P" frame of several values
  PeakFiltered,  // eleven "P" values through the peak filter to one
  CcdfBlock,     // a gate command, then the block of the sweep
};

// One row of the acquisition table: the command a request kind becomes on
// a sensor generation, the reply's length and how it is read.
struct AcquisitionCommand {
  RequestKind kind;
  bool secondGeneration;  // the PX420B's command set
  char first;
  char second;
  // Bytes of the reply; 0 for the CCDF block, whose length follows the
  // firmware version.
  std::size_t replyLength;
  // Leading values of the reply that must be plausible powers (the rest
  // are counts).
  std::size_t powers;
  ReplyShape shape;
  // Values the reading carries.
  std::size_t values;
};

// The row for `kind` on a sensor of `modelCode`; null when that sensor has
// no command for it (nothing is sent then).
const AcquisitionCommand* FindAcquisitionCommand(RequestKind kind, int modelCode);

}  // namespace wattrix
