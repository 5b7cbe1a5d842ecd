#pragma once

#include "core/vocabulary/Quantity.h"

#include <array>

namespace wattrix {

// How a log stored in the sensor is fetched and what the download dialog
// enables.
namespace logging_download {

// Values of the sensor's logging status (SensorLink::LoggingStatus).
inline constexpr int kStatusItems = 0;    // mask of the logged items
inline constexpr int kStatusLogging = 1;  // nonzero while the sensor logs
inline constexpr int kStatusStored = 6;   // values stored

inline constexpr int kValuesPerBlock = 250;
inline constexpr int kBlockBytes = 512;
inline constexpr int kUsbTimeoutMs = 1000;
// Over a serial link the block transfer takes its time on the wire: 9600
// baud moves about 960 bytes per second. The time-out allows the sensor's
// 1000 ms to answer plus the transfer time with half as much again, so a
// slow or briefly stalled link still completes.
inline constexpr int kSerialBytesPerSecond = 960;
inline constexpr int kSerialBaseMs = 1000;
inline constexpr double kSerialSafetyFactor = 1.5;

// Blocks holding n logged values: n / 250 + 1.
int BlockCount(int valueCount);
int ByteCount(int blockCount);
// Time-out for reading `bytes` of log blocks.
int TimeoutMs(int bytes, bool serialLink);

// One fetch: nothing is sent when nothing is logged.
struct FetchPlan {
  bool nothingLogged = false;
  int blocks = 0;
  int bytes = 0;
  int timeoutMs = 0;
  int values = 0;
};
FetchPlan PlanFetch(int storedValues, bool serialLink);

// The download dialog's controls from the sensor's logging status.
struct DialogState {
  // FWD (0x01), PEAK (0x02), REV (0x04), PULSE (0x08): checked as logged;
  // the boxes are always disabled.
  std::array<bool, 4> itemChecked{};
  bool loadEnabled = false;  // "IDC_DOWN_BTN_LOAD_SCREEN"
  bool saveEnabled = false;  // "IDC_DOWN_BTN_SAVE_FILE"
};
DialogState DialogStateFor(QuantityMask itemMask, bool stillLogging, int storedValues);

}  // namespace logging_download
}  // namespace wattrix
