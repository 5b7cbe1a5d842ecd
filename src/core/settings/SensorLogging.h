#pragma once

#include "core/settings/LoggingSetup.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wattrix {

class LogTransferControl;
class MeasurementSettings;
class SensorLink;

// Programs the sensor's logging with what the logging page's Set checks
// produced, and the external offset and TECH of `settings`; true when
// every acknowledge arrived.
namespace logging_setup {
bool ConfigureLogging(SensorLink& link, const LoggingConfiguration& configuration,
                      const MeasurementSettings& settings);
}  // namespace logging_setup

// The download dialog's work on the sensor and the file system, shared by
// the dialog and the command-line tool. The logging status must have been
// read (SensorLink::ReadLoggingStatus) before.
namespace logging_download {

enum class FetchOutcome { Fetched, NothingLogged, Failed, Cancelled };

// Fetches the logged values into the histories of `settings`, emptied
// first: nothing is sent when the sensor holds nothing; the blocks and the
// time-out follow from the stored count and the kind of link. `stored`
// (may be null) gets the readings stored.
FetchOutcome FetchLog(SensorLink& link, MeasurementSettings& settings, bool serialLink,
                      int* stored = nullptr);

// The same fetch in two halves, for a transfer that runs off the thread
// owning the settings record. ReadFetch (any thread) transfers the raw
// values, watched and cancellable through `control`, and stores nothing.
FetchOutcome ReadFetch(SensorLink& link, bool serialLink, std::vector<std::uint16_t>& values,
                       LogTransferControl& control);
// StoreFetch (the settings' owner) replaces the histories with a fetch
// that succeeded: they are emptied, then filled in the logged items'
// rotation of `itemMask` (logging status 0). Returns the readings stored.
int StoreFetch(MeasurementSettings& settings, QuantityMask itemMask,
               const std::vector<std::uint16_t>& values);

// String-table key of the warning for a fetch that did not succeed, empty
// for a successful one.
std::string FetchWarningKey(FetchOutcome outcome);

// Writes the fetched histories as a history file the way the save button
// does: the sensor's logged-item mask (logging status 0) and the title.
// False when the file could not be written (the old file, if any, stays).
bool SaveFetchedLog(const std::string& path, MeasurementSettings& settings, const SensorLink& link,
                    std::string_view title);

}  // namespace logging_download
}  // namespace wattrix
