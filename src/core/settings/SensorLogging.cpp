#include "core/settings/SensorLogging.h"

#include "core/device/SensorLink.h"
#include "core/device/SensorProtocol.h"
#include "core/measure/MeasurementSettings.h"
#include "core/measure/RunFile.h"
#include "core/settings/LogValueStore.h"
#include "core/settings/LoggingDownload.h"

namespace wattrix {

namespace logging_setup {

bool ConfigureLogging(SensorLink& link, const LoggingConfiguration& c, const MeasurementSettings& settings) {
  // The two unused arguments of the set-up are passed as 0.
  return link.ConfigureLogging(c.frequency, c.itemMask, c.intervalSeconds, c.sampleCount, 0, 0,
                               c.averagingIndex, c.reference, protocol::Times100(settings.ExternalOffset()),
                               settings.Technology());
}

}  // namespace logging_setup

namespace logging_download {

FetchOutcome FetchLog(SensorLink& link, MeasurementSettings& settings, bool serialLink, int* stored) {
  if (stored) *stored = 0;
  const FetchPlan plan = PlanFetch(link.LoggingStatus(kStatusStored), serialLink);
  if (plan.nothingLogged) return FetchOutcome::NothingLogged;
  settings.ResetHistories();
  std::vector<std::uint16_t> values;
  if (link.ReadLog(plan.timeoutMs, plan.bytes, plan.blocks, plan.values, values, nullptr) !=
      LogReadResult::kDone)
    return FetchOutcome::Failed;
  const int count = StoreLogValues(settings, QuantityMask(link.LoggingStatus(kStatusItems)), values);
  if (stored) *stored = count;
  return FetchOutcome::Fetched;
}

FetchOutcome ReadFetch(SensorLink& link, bool serialLink, std::vector<std::uint16_t>& values,
                       LogTransferControl& control) {
  values.clear();
  const FetchPlan plan = PlanFetch(link.LoggingStatus(kStatusStored), serialLink);
  if (plan.nothingLogged) return FetchOutcome::NothingLogged;
  switch (link.ReadLog(plan.timeoutMs, plan.bytes, plan.blocks, plan.values, values, &control)) {
    case LogReadResult::kDone:
      return FetchOutcome::Fetched;
    case LogReadResult::kCancelled:
      values.clear();
      return FetchOutcome::Cancelled;
    case LogReadResult::kFailed:
      break;
  }
  // Half a log is no log: nothing of a failed transfer is kept.
  values.clear();
  return FetchOutcome::Failed;
}

int StoreFetch(MeasurementSettings& settings, QuantityMask itemMask,
               const std::vector<std::uint16_t>& values) {
  settings.ResetHistories();
  return StoreLogValues(settings, itemMask, values);
}

std::string FetchWarningKey(FetchOutcome outcome) {
  switch (outcome) {
    case FetchOutcome::Cancelled:
      return "S_SETTING_WARNING_DN_CANCEL";
    case FetchOutcome::NothingLogged:
      return "S_SETTING_WARNING_DN_0_FAIL";
    case FetchOutcome::Failed:
      return "S_SETTING_WARNING_DN_FAIL";
    case FetchOutcome::Fetched:
      break;
  }
  return {};
}

bool SaveFetchedLog(const std::string& path, MeasurementSettings& settings, const SensorLink& link,
                    std::string_view title) {
  return WriteHistoryFile(path, settings, QuantityMask(link.LoggingStatus(kStatusItems)), title);
}

}  // namespace logging_download
}  // namespace wattrix
