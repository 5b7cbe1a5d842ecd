#pragma once

namespace wattrix {

// Display range, limits and alarm of one quantity.
struct QuantitySettings {
  float displayLow = 0;
  float displayHigh = 0;
  bool limitCheck = false;   // limits are checked and shown
  bool beepAlarm = false;    // a breach also beeps and turns the value red
  float lowLimit = 0;
  float highLimit = 0;
  int beepKind = 0;          // 0..3, "Beep 1" to "Beep 4"
};

}  // namespace wattrix
