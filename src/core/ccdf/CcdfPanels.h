#pragma once

#include "core/ccdf/CcdfStatistics.h"
#include "core/platform/Canvas.h"

#include <array>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace wattrix {

class MeasurementSettings;

// The six text panels of the CCDF window: sensor, measurement set-up,
// limits (left column), average and crest factor, levels, probabilities
// (below the graph).
enum class CcdfPanel : int { L1 = 0, L2, L3, RB1, RB2, RB3 };
inline constexpr int kCcdfPanelCount = 6;

// One line of a panel. Only the first line's y is used; the others follow
// one another (PanelLineTops).
struct PanelItem {
  bool enabled = true;
  bool heading = false;
  int x = 0;
  int y = 0;
  int pointSize = 10;
  Argb colour = MakeRgb(192, 192, 192);
  std::string text;  // the localised label, or a literal
};
using PanelItems = std::map<int, PanelItem>;  // by line index

inline constexpr Argb kCcdfPanelBackground = MakeRgb(28, 60, 114);

// What the lines show besides their labels, read at paint time.
struct CcdfPanelContext {
  const MeasurementSettings& settings;
  const CcdfStatistics& statistics;
  int storedSweeps = 0;          // sweeps in the moving window
  int connectedDeviceCode = -1;  // DeviceCode of the connected sensor, −1 when none
};

// The items of all six panels, labels looked up in the string table now.
std::array<PanelItems, kCcdfPanelCount> BuildPanelItems();

// The drawn text of line `index` of a panel.
std::string PanelLineText(CcdfPanel panel, int index, const PanelItem& item, const CcdfPanelContext& context);

// "0", "10,000" … "990,000", "1,000,000" of the stored sweeps, then
// " / " and the window's sample count; empty for an unknown RATE.
std::string SampleProgressText(int storedSweeps, int ccdfRate);

// The value rounded to single precision in the "DECIMAL" format: 2, 1 or 0
// decimals, empty text for any other setting.
std::string DecimalsText(double value, int decimals);

// Line tops from the measured line heights: the first at firstTop, each
// next at the previous top + the previous height + a fifth of its own.
std::vector<int> PanelLineTops(std::span<const int> heights, int firstTop);

// Paints one panel: background, then its lines in index order in bold
// "Arial" of each item's size.
void DrawCcdfPanel(Canvas& canvas, const RectF& client, CcdfPanel panel, const PanelItems& items,
                   const CcdfPanelContext& context);

}  // namespace wattrix
