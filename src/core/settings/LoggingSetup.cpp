#include "core/settings/LoggingSetup.h"

#include "core/platform/NumberText.h"

#include <algorithm>
#include <cmath>

namespace wattrix::logging_setup {

int CheckedItemCount(QuantityMask itemMask) {
  int count = 0;
  for (const Quantity q : {kAvg, kPeak, kRev, kPulse}) {
    if (itemMask.Has(q)) ++count;
  }
  return count;
}

std::string IntervalHint(QuantityMask itemMask) {
  const int count = std::max(1, CheckedItemCount(itemMask));
  return FormatC("Sec (Min %d Sec)", kSecondsPerItem * count);
}

MinutesSeconds SplitInterval(int intervalSeconds) { return {intervalSeconds / 60, intervalSeconds % 60}; }
int JoinInterval(int minutes, int seconds) { return minutes * 60 + seconds; }
HoursMinutes SplitRunTime(int runTimeMinutes) { return {runTimeMinutes / 60, runTimeMinutes % 60}; }
int JoinRunTime(int hours, int minutes) { return hours * 60 + minutes; }

SetCheck CheckSet(const SetInput& input) {
  SetCheck result;
  const int count = CheckedItemCount(input.itemMask);
  // Widened: the edits' numbers must not overflow the products below.
  const long long interval = static_cast<long long>(input.intervalMinutes) * 60 + input.intervalSeconds;
  const long long runTime = static_cast<long long>(input.runHours) * 60 + input.runMinutes;

  // With no item checked an interval of 0 would pass and divide by zero
  // below; the shortest interval is then one second.
  const int shortest = std::max(1, kSecondsPerItem * count);
  if (interval > kMaxIntervalSeconds || interval < shortest) {
    result.text = FormatC("Invalid Interval Range ( %d <= sec <= 3600 )", shortest);
    return result;
  }
  if (runTime * 60 < interval * kMinSamples) {
    result.text = "Invalid Logging Count Range ( 10 times <= RunTime/Interval)";
    return result;
  }
  if (runTime > kMaxRunTimeMinutes) {
    result.text = "Invalid Runtime Range ( Max : 96 hrs )";
    return result;
  }
  if (!input.connected) {
    result.key = "S_MAINFRAME_ONDEVICECONNECT";
    return result;
  }
  result.ok = true;
  auto& c = result.configuration;
  const double wholeMHz = std::trunc(static_cast<double>(input.frequencyMHz));
  c.frequency = static_cast<int>(std::clamp(wholeMHz, -21474836.0, 21474836.0)) * 100;
  c.itemMask = input.itemMask;
  c.intervalSeconds = static_cast<int>(interval);
  c.sampleCount = static_cast<int>(runTime * 60 / interval);
  c.averagingIndex = input.periodIndex;
  c.reference = input.reference;
  return result;
}

}  // namespace wattrix::logging_setup
