#include "core/measure/MeasurementPanelTexts.h"

#include "core/vocabulary/SensorModel.h"
#include "core/measure/AnalogGauge.h"
#include "core/measure/Limits.h"
#include "core/measure/MeasurementSettings.h"
#include "core/vocabulary/Quantity.h"
#include "core/measure/ReadoutFormat.h"
#include "core/platform/NumberText.h"
#include "core/strings/StringTable.h"

#include <cmath>

namespace wattrix {

namespace {

bool IsPar(int modelCode, Quantity quantity) { return quantity == kVswr && CarriesPar(modelCode); }

std::string Labelled(const char* key, const std::string& value) {
  std::string text = strings::GetString(key);
  text += ' ';
  text += value;
  return text;
}

}  // namespace

std::string PanelQuantityName(int modelCode, Quantity quantity) {
  switch (quantity) {
    case kAvg:
      return strings::GetString("S_MEASUREVIEW_AVG");
    case kRev:
      return strings::GetString("S_MEASUREVIEW_REV");
    case kVswr:
      return CarriesPar(modelCode) ? std::string("PAR") : strings::GetString("S_MEASUREVIEW_VSWR");
    case kPeak:
      return strings::GetString("S_MEASUREVIEW_PEAK");
    case kPulse:
      return strings::GetString("S_MEASUREVIEW_PULSE");
    default:
      return {};
  }
}

std::string GaugeUnitText(int modelCode, Quantity quantity) {
  if (quantity == kVswr)
    return strings::GetString(CarriesPar(modelCode) ? "S_MEASUREVIEW_PAR" : "S_MEASUREVIEW_VSWR");
  return IsPowerQuantity(quantity) ? std::string("dBm") : std::string();
}

std::uint32_t MeasurementPanelTexts::Refresh(const MeasurementSettings& settings, Quantity quantity,
                                             PanelRefresh kind, AnalogGauge& gauge) {
  if (!HasReadingBuffer(quantity)) return 0;
  const std::array<std::string, kPanelItemCount> before = m_texts;
  if (kind == PanelRefresh::All) RefreshHeader(settings, quantity, gauge);
  if (kind == PanelRefresh::All || kind == PanelRefresh::Limits) RefreshLimits(settings, quantity, gauge);
  if (kind == PanelRefresh::All || kind == PanelRefresh::Values) RefreshValues(settings, quantity, gauge);
  std::uint32_t changed = 0;
  for (std::size_t i = 0; i < m_texts.size(); ++i) {
    if (m_texts[i] != before[i]) changed |= 1u << i;
  }
  return changed;
}

void MeasurementPanelTexts::LoadLabels() {
  m_labels.reference = strings::GetString("S_MEASUREVIEW_REF");
  m_labels.minimum = strings::GetString("S_MEASUREVIEW_MIN");
  m_labels.maximum = strings::GetString("S_MEASUREVIEW_MAX");
  m_labels.noReturnLoss = strings::GetString("S_MEASUREVIEW_NA");
  m_labels.loaded = true;
}

void MeasurementPanelTexts::RefreshHeader(const MeasurementSettings& settings, Quantity quantity,
                                          AnalogGauge& gauge) {
  using namespace panel_item;
  LoadLabels();
  const int model = settings.ModelCode();
  Item(kModel) = Labelled("S_MEASUREVIEW_MODEL", settings.ModelName());
  Item(kSerial) = Labelled("S_MEASUREVIEW_SN", settings.SerialNumber());
  Item(kSensorType) = Labelled("S_MEASUREVIEW_TYPE", settings.SensorTypeText());
  Item(kFrequency) = FormatC("%s %.2f MHz", strings::GetString("S_MEASUREVIEW_FREQUENCY").c_str(),
                             static_cast<double>(settings.Frequency()));
  Item(kOffset) = FormatC("%s %.2f dB", strings::GetString("S_MEASUREVIEW_EXTOFFSET").c_str(),
                          static_cast<double>(settings.ExternalOffset()));
  // Only the PX420B corrects for the signal's technology; another model
  // must not go on showing the text of a sensor connected before it.
  Item(kTechnology) = model == model::kPX420B
                          ? FormatC("%s %s", "Technology: ", settings.TechnologyText().c_str())
                          : std::string();
  Item(kQuantityName) = PanelQuantityName(model, quantity);
  Item(kDisplayMode) =
      strings::GetString(settings.Relative() ? "S_MEASUREVIEW_RELATIVEMODE" : "S_MEASUREVIEW_ABSOLUTEMODE");
  // Duty cycle and burst width belong to the pulse reading only; a panel
  // switched to another quantity must not keep a frozen pulse figure.
  if (quantity != kPulse) {
    Item(kDutyCycle).clear();
    Item(kBurstWidth).clear();
  }
  gauge.SetMinimum(settings.DisplayLow(quantity));
  gauge.SetMaximum(settings.DisplayHigh(quantity));
}

void MeasurementPanelTexts::RefreshLimits(const MeasurementSettings& settings, Quantity quantity,
                                          AnalogGauge& gauge) {
  gauge.ClearThresholds();
  if (!settings.LimitCheck(quantity)) return;
  for (const MeterThreshold& zone : GaugeZones(settings.Settings(quantity))) {
    gauge.AddThreshold(zone.start, zone.end, zone.colour);
  }
  Item(panel_item::kLowLimit) = LimitText(settings, quantity, false);
  Item(panel_item::kHighLimit) = LimitText(settings, quantity, true);
}

void MeasurementPanelTexts::SetLabelled(int item, const std::string& label, double value, int decimals,
                                        const char* unit) {
  std::string& text = Item(item);
  text.assign(label);
  text += ' ';
  AppendNumber(text, value, decimals);
  text += unit;
}

void MeasurementPanelTexts::SetNumber(int item, double value, int decimals, const char* unit) {
  std::string& text = Item(item);
  text.clear();
  AppendNumber(text, value, decimals);
  text += unit;
}

void MeasurementPanelTexts::RefreshValues(const MeasurementSettings& settings, Quantity quantity,
                                          AnalogGauge& gauge) {
  using namespace panel_item;
  if (!m_labels.loaded) LoadLabels();
  const int decimals = settings.Decimals();
  const float first = settings.First(quantity);
  const float minimum = settings.Min(quantity);
  const float maximum = settings.Max(quantity);
  const float value = settings.LastReading(quantity);

  if (IsPar(settings.ModelCode(), quantity)) {
    SetLabelled(kReference, m_labels.reference, first, decimals, " dB");
    SetLabelled(kMinimum, m_labels.minimum, minimum, decimals, " dB");
    SetLabelled(kMaximum, m_labels.maximum, maximum, decimals, " dB");
    SetNumber(kValue, value, decimals, " dB");
    Item(kSecondary).clear();
  } else if (quantity == kVswr) {
    SetLabelled(kReference, m_labels.reference, first, decimals, " : 1");
    SetLabelled(kMinimum, m_labels.minimum, minimum, decimals, " : 1");
    SetLabelled(kMaximum, m_labels.maximum, maximum, decimals, " : 1");
    SetNumber(kValue, value, decimals, " : 1");
    const auto returnLoss = ReturnLossDb(value);
    if (returnLoss) {
      std::string& text = Item(kSecondary);
      text.assign("Return Loss: ");
      AppendNumber(text, *returnLoss, decimals);
      text += " dB";
    } else {
      Item(kSecondary) = m_labels.noReturnLoss;
    }
  } else {
    SetLabelled(kReference, m_labels.reference, first, decimals, " dBm");
    if (settings.Relative()) {
      SetLabelled(kMinimum, m_labels.minimum, minimum - first, decimals, " dB");
      SetLabelled(kMaximum, m_labels.maximum, maximum - first, decimals, " dB");
      SetNumber(kValue, value - first, decimals, " dB");
    } else {
      SetLabelled(kMinimum, m_labels.minimum, minimum, decimals, " dBm");
      SetLabelled(kMaximum, m_labels.maximum, maximum, decimals, " dBm");
      SetNumber(kValue, value, decimals, " dBm");
    }
    Item(kSecondary) = FormatWatts(DbmToWatts(value), decimals);
    if (quantity == kPulse) SetPulseFigures(settings);
  }
  // The needle always shows the absolute reading.
  gauge.SetValue(value);
}

void MeasurementPanelTexts::SetPulseFigures(const MeasurementSettings& settings) {
  // A count of zero makes the quotient not a number (0 / 0) or infinite
  // (n / 0); neither is a figure to show.
  const double duty = settings.DutyCycle();
  Item(panel_item::kDutyCycle) =
      std::isfinite(duty) ? FormatC("Duty Cycle [A] %.2f %%", duty) : "Duty Cycle [A] N/A";
  const double burst = settings.BurstWidth();
  Item(panel_item::kBurstWidth) =
      std::isfinite(burst) ? FormatC("Burst Width   %.3f us", burst) : "Burst Width   N/A";
}

}  // namespace wattrix
