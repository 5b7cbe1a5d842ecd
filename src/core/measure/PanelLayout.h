#pragma once

#include "core/platform/Canvas.h"
#include "core/vocabulary/Quantity.h"

#include <array>

namespace wattrix {

// Text items of a measurement panel, in drawing order.
namespace panel_item {
inline constexpr int kModel = 0;
inline constexpr int kSerial = 1;
inline constexpr int kSensorType = 2;
inline constexpr int kFrequency = 3;
inline constexpr int kOffset = 4;
inline constexpr int kDisplayMode = 5;
inline constexpr int kReference = 6;
inline constexpr int kMinimum = 7;
inline constexpr int kMaximum = 8;
inline constexpr int kValue = 9;
inline constexpr int kSecondary = 10;
inline constexpr int kQuantityName = 11;
inline constexpr int kLowLimit = 12;
inline constexpr int kHighLimit = 13;
inline constexpr int kDutyCycle = 14;
inline constexpr int kBurstWidth = 15;
inline constexpr int kTechnology = 16;
}  // namespace panel_item
inline constexpr int kPanelItemCount = 17;
inline constexpr int kPanelLayoutCount = 4;

// Colours of the panel texts and its background.
namespace panel_colour {
inline constexpr Argb kSilver = MakeRgb(192, 192, 192);
inline constexpr Argb kGreen = MakeRgb(0, 255, 0);
inline constexpr Argb kWhite = MakeRgb(255, 255, 255);
inline constexpr Argb kLightGrey = MakeRgb(220, 220, 220);
inline constexpr Argb kAlarm = MakeRgb(255, 0, 0);
inline constexpr Argb kBackground = MakeRgb(28, 61, 114);
inline constexpr Argb kSelectedFrame = MakeRgb(0, 255, 0);
}  // namespace panel_colour

// Rectangle by its edges; an empty one (right ≤ left or bottom ≤ top) hides
// the item it belongs to.
struct PanelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool IsEmpty() const { return right <= left || bottom <= top; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const PanelRect&, const PanelRect&) = default;
};

// One row of a layout table: where an item sits at the reference size.
struct PanelItemSpec {
  bool visible = false;
  int x = 0;
  int y = 0;
  int points = 0;
  Argb colour = panel_colour::kSilver;
};

struct PanelLayoutTable {
  int refWidth = 0;
  int refHeight = 0;
  std::array<PanelItemSpec, kPanelItemCount> items{};
};

// Layout 0 is the large main panel, 1 the narrow small panel beside its
// gauge, 2 and 3 the tall full-window panels (3 with the pulse figures).
// The alarm variant differs only in the value colour (and, in layout 3,
// shows the display mode). A layout outside 0..3 reads as layout 0.
const PanelLayoutTable& PanelLayoutTableOf(int layout, bool alarm);

// Item 9's colour in the layout, normal or in alarm.
Argb PanelValueColour(int layout, bool alarm);

// What the layout of a panel depends on.
struct PanelLayoutInput {
  int layout = 0;
  bool alarm = false;
  Quantity quantity = kAvg;
  bool relative = false;    // display mode of the settings
  bool limitCheck = false;  // of the panel's quantity
  int clientWidth = 0;
  int clientHeight = 0;
};

struct PanelItemPlace {
  Argb colour = panel_colour::kSilver;
  int points = 0;    // font size, scaled and truncated
  PanelRect rect{};  // the text's top-left is (left, top); empty when hidden
};

struct PanelGeometry {
  int width = 0;  // client size raised to at least 300 × 200
  int height = 0;
  int textWidth = 0;  // the part of the width the texts are scaled to
  double scale = 1;
  std::array<PanelItemPlace, kPanelItemCount> items{};
  PanelRect gauge{};  // f × f beside the texts
  bool gaugeVisible = false;
  // The texts stand one per line down the panel: its table places leave
  // them no room at a readable size (PanelTextFit).
  bool flowed = false;
};

inline constexpr int kPanelMinWidth = 300;
inline constexpr int kPanelMinHeight = 200;

// Places the items and the gauge of a panel for its client size.
PanelGeometry LayOutPanel(const PanelLayoutInput& input);
// The same rules for exactly `width` × `height`, without raising the size
// to 300 × 200 (PanelTextFit lays small panels out at their real size);
// `textWidth` > 0 gives the texts that width instead of the layout's share.
PanelGeometry LayOutPanelSized(const PanelLayoutInput& input, int width, int height, int textWidth = 0);

}  // namespace wattrix
