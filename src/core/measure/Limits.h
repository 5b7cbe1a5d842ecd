#pragma once

#include "core/measure/MeterThreshold.h"
#include "core/measure/QuantitySettings.h"
#include "core/platform/Beeper.h"
#include "core/vocabulary/Quantity.h"

#include <string>
#include <vector>

namespace wattrix {

class MeasurementSettings;

// Limit checks, alarm beeps, gauge zones and limit texts of one quantity.
// They run for every stored reading (on the reading path), so they only
// read the settings and never allocate, except the zones and texts that a
// panel rebuilds after a settings change.

// True when value lies below the low or above the high limit; equal values
// are inside. With the low limit above the high one every value is out.
bool IsOutOfLimit(const QuantitySettings& settings, float value);
bool IsOutOfLimit(const MeasurementSettings& settings, Quantity quantity, float value);

// Message-beep type of a stored beep kind: 0 simple, 1 information,
// 2 exclamation, 3 error; any other kind plays the simple beep.
unsigned BeepTypeOfKind(int beepKind);

// Beeps once, with the quantity's beep kind, when both limit check and beep
// alarm of the quantity are on and the value is out of limit; true when it
// beeped. Plays through `beeper` (the process-wide one by default).
bool BeepIfOutOfLimit(const MeasurementSettings& settings, Quantity quantity, float value);
bool BeepIfOutOfLimit(const MeasurementSettings& settings, Quantity quantity, float value, Beeper& beeper);

// The coloured zones of a gauge scale for a quantity, in drawing order:
// none while the limit check is off; one red zone over the whole scale when
// the limit band lies outside it; otherwise red below the band (if the band
// starts above the scale's low end), green over the band clipped to the
// scale (none for an empty band, low limit not below the high one), red
// above it (if the band ends below the high end). Computed in single
// precision, as the settings are held.
std::vector<MeterThreshold> GaugeZones(const QuantitySettings& settings);

// The low (high = false) or high limit text of a panel: the label of
// "S_MEASUREVIEW_LLIMIT" / "S_MEASUREVIEW_HLIMIT", a blank, and the limit
// with the decimals setting, then " dBm" for the power quantities, " : 1"
// for VSWR and " dB" for PAR (the VSWR slot on the PX470A and PX470B).
// Always the absolute limit. Empty for a quantity without a panel (CCDF).
std::string LimitText(const MeasurementSettings& settings, Quantity quantity, bool high);

}  // namespace wattrix
