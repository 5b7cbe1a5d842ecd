#pragma once

#include "core/vocabulary/Quantity.h"

#include <string>

namespace wattrix {

// The logging page's rules: the checks of its Set button, the arguments
// handed to the sensor, and the splitting of interval and run time.
namespace logging_setup {

inline constexpr int kMaxIntervalSeconds = 3600;
inline constexpr int kSecondsPerItem = 10;  // shortest interval per logged item
inline constexpr int kMinSamples = 10;
inline constexpr int kMaxRunTimeMinutes = 5760;  // 96 hours
inline constexpr const char* kRunTimeHint = "Min (Max 96 hrs)";

// Logged-item bits: 0x01 forward AVG, 0x02 PEAK, 0x04 REV, 0x08 PULSE.
int CheckedItemCount(QuantityMask itemMask);
// "Sec (Min %d Sec)" with 10 × the checked items (10 when none).
std::string IntervalHint(QuantityMask itemMask);

struct MinutesSeconds {
  int minutes;
  int seconds;
  friend bool operator==(const MinutesSeconds&, const MinutesSeconds&) = default;
};
struct HoursMinutes {
  int hours;
  int minutes;
  friend bool operator==(const HoursMinutes&, const HoursMinutes&) = default;
};
MinutesSeconds SplitInterval(int intervalSeconds);
int JoinInterval(int minutes, int seconds);
HoursMinutes SplitRunTime(int runTimeMinutes);
int JoinRunTime(int hours, int minutes);

// What the sensor is programmed with.
struct LoggingConfiguration {
  int frequency = 0;  // whole MHz × 100
  QuantityMask itemMask;
  int intervalSeconds = 0;
  int sampleCount = 0;     // run time × 60 / interval
  int averagingIndex = 0;  // the pulse period choice
  int reference = 0;       // stored pulse REFERENCE
  friend bool operator==(const LoggingConfiguration&, const LoggingConfiguration&) = default;
};

// Outcome of the Set checks. On failure exactly one of `text` (a fixed
// English message for MessageBoxText) or `key` (a string-table key for
// MessageBoxKey) is set.
struct SetCheck {
  bool ok = false;
  std::string text;
  std::string key;
  LoggingConfiguration configuration;
};

struct SetInput {
  QuantityMask itemMask;
  int intervalMinutes = 0;
  int intervalSeconds = 0;
  int runHours = 0;
  int runMinutes = 0;
  float frequencyMHz = 0;
  int periodIndex = 0;
  int reference = 0;
  bool connected = false;
};

// The checks after the page validated and applied, in order: interval
// range (an interval below one second is refused too, before the sample
// count divides by it), at least 10 samples, at most 96 hours, a sensor
// connected. On success the configuration to send.
SetCheck CheckSet(const SetInput& input);

}  // namespace logging_setup
}  // namespace wattrix
