#pragma once

#include "core/measure/MeasurementPanel.h"
#include "core/measure/PanelLayout.h"
#include "core/vocabulary/Quantity.h"

#include <array>
#include <cstdint>
#include <string>

namespace wattrix {

class AnalogGauge;
class MeasurementSettings;

// Name of a quantity on a panel: the localised AVG, REV, VSWR, PEAK or
// PULSE text, and the plain "PAR" for the VSWR slot of the PX470A/B.
std::string PanelQuantityName(int modelCode, Quantity quantity);

// Unit text under the gauge's centre: "dBm" for the powers, the localised
// VSWR or PAR text for slot 2.
std::string GaugeUnitText(int modelCode, Quantity quantity);

// The 17 texts of a measurement panel and how a refresh rebuilds them from
// the shared settings. A value refresh runs for every reading, so it only
// rewrites the reading items (6-10, 14, 15) in place and moves the needle;
// the labels it needs are looked up once per full refresh.
class MeasurementPanelTexts final {
 public:
  const std::string& Text(int item) const { return m_texts[static_cast<std::size_t>(item)]; }
  const std::array<std::string, kPanelItemCount>& Texts() const { return m_texts; }

  // Rebuilds what `kind` covers for the quantity and sets the gauge's range
  // (All), zones (All, Limits) and needle (All, Values). Nothing happens for
  // a quantity outside AVG..PULSE. Returns the items whose text changed
  // (bit i for item i), so that a window repaints only those.
  std::uint32_t Refresh(const MeasurementSettings& settings, Quantity quantity, PanelRefresh kind,
                        AnalogGauge& gauge);

 private:
  struct Labels {
    bool loaded = false;
    std::string reference;
    std::string minimum;
    std::string maximum;
    std::string noReturnLoss;
  };

  std::string& Item(int item) { return m_texts[static_cast<std::size_t>(item)]; }
  void LoadLabels();
  void RefreshHeader(const MeasurementSettings& settings, Quantity quantity, AnalogGauge& gauge);
  void RefreshLimits(const MeasurementSettings& settings, Quantity quantity, AnalogGauge& gauge);
  void RefreshValues(const MeasurementSettings& settings, Quantity quantity, AnalogGauge& gauge);
  // label, a blank, the number and the unit into `item`.
  void SetLabelled(int item, const std::string& label, double value, int decimals, const char* unit);
  void SetNumber(int item, double value, int decimals, const char* unit);
  void SetPulseFigures(const MeasurementSettings& settings);

  std::array<std::string, kPanelItemCount> m_texts;
  Labels m_labels;
};

}  // namespace wattrix
