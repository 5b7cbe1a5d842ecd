#include "core/measure/Limits.h"

#include "core/vocabulary/SensorModel.h"
#include "core/measure/MeasurementSettings.h"
#include "core/vocabulary/Quantity.h"
#include "core/measure/ReadoutFormat.h"
#include "core/strings/StringTable.h"

namespace wattrix {

bool IsOutOfLimit(const QuantitySettings& settings, float value) {
  return value < settings.lowLimit || value > settings.highLimit;
}

bool IsOutOfLimit(const MeasurementSettings& settings, Quantity quantity, float value) {
  return IsOutOfLimit(settings.Settings(quantity), value);
}

unsigned BeepTypeOfKind(int beepKind) {
  switch (beepKind) {
    case 1:
      return beep::kInformation;
    case 2:
      return beep::kExclamation;
    case 3:
      return beep::kError;
    default:
      return beep::kSimple;
  }
}

bool BeepIfOutOfLimit(const MeasurementSettings& settings, Quantity quantity, float value) {
  return BeepIfOutOfLimit(settings, quantity, value, CurrentBeeper());
}

bool BeepIfOutOfLimit(const MeasurementSettings& settings, Quantity quantity, float value, Beeper& beeper) {
  const auto& s = settings.Settings(quantity);
  if (!s.limitCheck || !s.beepAlarm) return false;
  if (!IsOutOfLimit(s, value)) return false;
  // No rate limit: every reading out of limit beeps once; the beeper plays
  // asynchronously and returns at once.
  beeper.Beep(BeepTypeOfKind(s.beepKind));
  return true;
}

std::vector<MeterThreshold> GaugeZones(const QuantitySettings& settings) {
  std::vector<MeterThreshold> zones;
  if (!settings.limitCheck) return zones;
  const float displayLow = settings.displayLow;
  const float displayHigh = settings.displayHigh;
  float low = settings.lowLimit;
  float high = settings.highLimit;
  const auto add = [&zones](float start, float end, std::uint32_t colour) {
    zones.push_back({colour, static_cast<double>(start), static_cast<double>(end)});
  };
  if (displayLow >= high || low >= displayHigh) {
    add(displayLow, displayHigh, zone_colour::kOutOfLimit);
    return zones;
  }
  if (displayLow > low) low = displayLow;
  if (high > displayHigh) high = displayHigh;
  if (low > displayLow) add(displayLow, low, zone_colour::kOutOfLimit);
  // A low limit above the high one leaves no band: every reading is out of
  // limit, so the scale shows no green (and no reversed zone).
  if (low < high) add(low, high, zone_colour::kInLimit);
  if (displayHigh > high) add(high, displayHigh, zone_colour::kOutOfLimit);
  return zones;
}

std::string LimitText(const MeasurementSettings& settings, Quantity quantity, bool high) {
  const char* unit = nullptr;
  if (IsPowerQuantity(quantity)) {
    unit = " dBm";
  } else if (quantity == kVswr) {
    unit = CarriesPar(settings.ModelCode()) ? " dB" : " : 1";
  } else {
    return {};
  }
  std::string text = strings::GetString(high ? "S_MEASUREVIEW_HLIMIT" : "S_MEASUREVIEW_LLIMIT");
  text += ' ';
  AppendNumber(text, high ? settings.HighLimit(quantity) : settings.LowLimit(quantity), settings.Decimals());
  text += unit;
  return text;
}

}  // namespace wattrix
