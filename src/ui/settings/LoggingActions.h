#pragma once

#include "core/settings/LoggingSetup.h"

namespace wattrix {

// What the logging page asks of the sensor: the set-up of unattended
// logging and the stop-and-clear command. Both may take seconds; the page
// calls them off the user-interface thread.
class LoggingActions {
 public:
  virtual ~LoggingActions() = default;
  virtual bool IsConnected() const = 0;
  // Programs the sensor; true when every acknowledge arrived.
  virtual bool ConfigureLogging(const logging_setup::LoggingConfiguration& configuration) = 0;
  // [AR] with `value` (0 stops and clears); true when acknowledged.
  virtual bool SetLoggingRun(int value) = 0;
};

}  // namespace wattrix
