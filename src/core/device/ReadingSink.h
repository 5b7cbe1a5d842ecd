#pragma once

#include "core/vocabulary/Reading.h"

namespace wattrix {

// Receiver of the acquisition thread's readings: a measurement, pulse or
// CCDF window's logic, or a hop to the thread that owns it. Called through
// the DeliveryHandle the window gave with its request; an implementation
// called on the acquisition thread returns quickly and never waits for the
// thread that revokes its handle.
class ReadingSink {
 public:
  virtual ~ReadingSink() = default;
  virtual void OnReading(const Reading& reading) = 0;
};

}  // namespace wattrix
