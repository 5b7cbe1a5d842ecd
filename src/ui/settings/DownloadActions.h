#pragma once

#include "core/settings/SensorLogging.h"

#include <cstdint>
#include <vector>

namespace wattrix {

class LogTransferControl;

// What the download dialog asks of the sensor. Fetch and ClearMemory may
// take long (minutes for a full log over a serial link) and are called off
// the user-interface thread; LoggingStatus is read on it.
class DownloadActions {
 public:
  virtual ~DownloadActions() = default;
  // Value `index` of the logging status as last read.
  virtual int LoggingStatus(int index) const = 0;
  // Transfers the logged values (raw, in the order sent) into `values`;
  // nothing else is changed, and a transfer that did not complete leaves
  // `values` empty.
  virtual logging_download::FetchOutcome Fetch(std::vector<std::uint16_t>& values,
                                               LogTransferControl& control) = 0;
  // Empties the sensor's log memory; when that was acknowledged, the status
  // is read again. True when acknowledged.
  virtual bool ClearMemory() = 0;
};

}  // namespace wattrix
