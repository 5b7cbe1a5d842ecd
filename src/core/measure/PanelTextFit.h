#pragma once

#include "core/measure/PanelLayout.h"

#include <array>
#include <string>

namespace wattrix {

// How wide and high a panel text is in the panel font of a point size, in
// pixels (font metrics in the application, a fixed model in tests).
class PanelTextMeasure {
 public:
  virtual ~PanelTextMeasure() = default;
  virtual double Width(int points, const std::string& text) const = 0;
  virtual double LineHeight(int points) const = 0;
};

// Readable bounds of the panel texts, in points.
inline constexpr int kPanelMinPoints = 8;
inline constexpr int kPanelMaxPoints = 96;
// Room kept between a text and what lies beside it, and inside the edge.
inline constexpr int kPanelTextGap = 6;
// A gauge smaller than this is left out rather than drawn cut (the dial
// is never drawn smaller, AnalogGauge::kMinimumSide); its texts then take
// the whole width.
inline constexpr int kPanelMinGauge = 100;

using PanelTexts = std::array<std::string, kPanelItemCount>;

// The panel laid out for its real client size with every text readable and
// whole: the layout table's places and sizes where the texts fit (always at
// the tables' own sizes when they do), else each text that would run into
// a neighbour, the gauge or the panel's edge made smaller, down to
// kPanelMinPoints; if that is not enough the gauge moves right (or is left
// out) and lines below move down. Sizes stay between kPanelMinPoints and
// kPanelMaxPoints.
// With `previous` (the fit of the same panel before new readings came in),
// no text grows beyond its previous size, so read-outs do not change size
// from one reading to the next; a new layout starts without it.
PanelGeometry FitPanel(const PanelLayoutInput& input, const PanelTexts& texts,
                       const PanelTextMeasure& measure, const PanelGeometry* previous = nullptr);

// True when every shown text of `geometry` lies inside the panel, clear of
// the gauge and of the other texts (what FitPanel aims for).
bool PanelTextsFit(const PanelGeometry& geometry, const PanelTexts& texts, const PanelTextMeasure& measure);

}  // namespace wattrix
