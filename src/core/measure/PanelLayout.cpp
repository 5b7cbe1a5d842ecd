#include "core/measure/PanelLayout.h"

#include "core/vocabulary/Quantity.h"
#include "core/platform/MulDiv.h"

#include <algorithm>

namespace wattrix {

namespace {

constexpr Argb S = panel_colour::kSilver;
constexpr Argb G = panel_colour::kGreen;
constexpr Argb W = panel_colour::kWhite;
constexpr Argb L = panel_colour::kLightGrey;
constexpr PanelItemSpec kHidden{};

constexpr PanelItemSpec At(int x, int y, int points, Argb colour) {
  return PanelItemSpec{true, x, y, points, colour};
}

// Item rows 0..16 of each layout at its reference size.
// clang-format off
constexpr PanelLayoutTable kLayout0{476, 326, {{
    At(26, 30, 14, S),     // 0 model
    At(248, 30, 10, S),    // 1 serial number
    At(26, 58, 14, S),     // 2 sensor type
    At(248, 50, 10, S),    // 3 frequency
    At(248, 70, 10, S),    // 4 external offset
    At(26, 190, 16, L),    // 5 display mode
    At(210, 190, 18, G),   // 6 reference
    At(26, 278, 14, S),    // 7 minimum
    At(26, 252, 14, S),    // 8 maximum
    At(210, 132, 36, G),   // 9 value
    At(210, 190, 18, G),   // 10 secondary value
    At(26, 132, 30, W),    // 11 quantity name
    At(248, 278, 14, S),   // 12 low limit
    At(248, 252, 14, S),   // 13 high limit
    At(26, 90, 10, S),     // 14 duty cycle
    At(26, 110, 10, S),    // 15 burst width
    At(248, 90, 10, S),    // 16 technology
}}};

constexpr PanelLayoutTable kLayout1{190, 322, {{
    kHidden, kHidden, kHidden, kHidden, kHidden, kHidden, kHidden,  // 0-6
    At(20, 256, 14, S),    // 7
    At(20, 230, 14, S),    // 8
    At(20, 130, 24, S),    // 9
    At(20, 172, 14, S),    // 10
    At(20, 38, 26, W),     // 11
    kHidden, kHidden,      // 12, 13
    At(20, 85, 10, S),     // 14
    At(20, 105, 10, S),    // 15
    kHidden,               // 16
}}};

constexpr PanelLayoutTable kLayout2{322, 704, {{
    At(30, 26, 20, S),     // 0
    At(30, 120, 16, S),    // 1
    At(30, 60, 20, S),     // 2
    At(30, 150, 16, S),    // 3
    At(30, 180, 16, S),    // 4
    At(30, 370, 20, S),    // 5
    At(30, 516, 20, G),    // 6
    At(30, 618, 16, S),    // 7
    At(30, 584, 16, S),    // 8
    At(30, 440, 46, G),    // 9
    At(30, 516, 20, G),    // 10
    At(30, 260, 46, W),    // 11
    At(168, 618, 16, S),   // 12
    At(168, 584, 16, S),   // 13
    kHidden, kHidden,      // 14, 15
    At(30, 210, 16, S),    // 16
}}};

constexpr PanelLayoutTable kLayout3{322, 704, {{
    At(30, 26, 20, S),     // 0
    At(30, 120, 16, S),    // 1
    At(30, 60, 20, S),     // 2
    At(30, 150, 16, S),    // 3
    At(30, 180, 16, S),    // 4
    kHidden,               // 5 (shown in alarm)
    At(30, 516, 20, G),    // 6
    At(30, 618, 16, S),    // 7
    At(30, 584, 16, S),    // 8
    At(30, 440, 46, G),    // 9
    At(30, 516, 20, G),    // 10
    At(30, 260, 46, W),    // 11
    At(168, 618, 16, S),   // 12
    At(168, 584, 16, S),   // 13
    At(30, 370, 20, S),    // 14
    At(30, 404, 20, S),    // 15
    At(30, 210, 16, S),    // 16
}}};
// clang-format on

constexpr PanelLayoutTable AlarmVariant(PanelLayoutTable table, bool showDisplayMode) {
  table.items[panel_item::kValue].colour = panel_colour::kAlarm;
  if (showDisplayMode) table.items[panel_item::kDisplayMode] = At(30, 370, 20, S);
  return table;
}

constexpr std::array<PanelLayoutTable, kPanelLayoutCount> kNormal{kLayout0, kLayout1, kLayout2, kLayout3};
constexpr std::array<PanelLayoutTable, kPanelLayoutCount> kAlarm{
    AlarmVariant(kLayout0, false), AlarmVariant(kLayout1, false), AlarmVariant(kLayout2, false),
    AlarmVariant(kLayout3, true)};

void Hide(PanelGeometry& g, int item) { g.items[static_cast<std::size_t>(item)].rect = PanelRect{}; }

void ApplyHidingRules(PanelGeometry& g, int layout, const PanelLayoutInput& in) {
  using namespace panel_item;
  if (layout == 1) return;
  if (layout == 3) {
    Hide(g, in.relative ? kSecondary : kReference);
    // The mode text of the alarm variant shares its place with the duty
    // cycle; a pulse panel keeps its pulse figure there.
    if (in.quantity == kPulse) Hide(g, kDisplayMode);
  } else if (in.quantity == kVswr) {
    // VSWR and PAR have no relative display: the secondary value keeps the
    // shared place, and the mode text would only mislead.
    Hide(g, kReference);
    Hide(g, kDisplayMode);
  } else {
    Hide(g, in.relative ? kSecondary : kReference);
  }
  if (!in.limitCheck) {
    Hide(g, kLowLimit);
    Hide(g, kHighLimit);
  }
}

}  // namespace

const PanelLayoutTable& PanelLayoutTableOf(int layout, bool alarm) {
  const auto index = static_cast<std::size_t>(layout >= 0 && layout < kPanelLayoutCount ? layout : 0);
  return alarm ? kAlarm[index] : kNormal[index];
}

Argb PanelValueColour(int layout, bool alarm) {
  return PanelLayoutTableOf(layout, alarm).items[panel_item::kValue].colour;
}

PanelGeometry LayOutPanel(const PanelLayoutInput& in) {
  return LayOutPanelSized(in, std::max(in.clientWidth, kPanelMinWidth),
                          std::max(in.clientHeight, kPanelMinHeight));
}

PanelGeometry LayOutPanelSized(const PanelLayoutInput& in, int width, int height, int textWidth) {
  PanelGeometry g;
  g.width = std::max(width, 1);
  g.height = std::max(height, 1);
  const int w = g.width;
  const int h = g.height;
  const int layout = in.layout >= 0 && in.layout < kPanelLayoutCount ? in.layout : 0;
  g.textWidth = textWidth > 0 ? std::min(textWidth, w) : layout == 0 ? w : MulDiv(w, 4, 10);
  const int tw = g.textWidth;

  const PanelLayoutTable& table = PanelLayoutTableOf(layout, in.alarm);
  // The texts keep their proportions: the scale follows whichever side of
  // the text area is the tighter one against the reference size.
  const double refW = table.refWidth;
  const double refH = table.refHeight;
  g.scale = static_cast<double>(tw) / h < refW / refH ? tw / refW : h / refH;

  for (std::size_t i = 0; i < g.items.size(); ++i) {
    const PanelItemSpec& row = table.items[i];
    PanelItemPlace& place = g.items[i];
    place.colour = row.colour;
    place.points = static_cast<int>(row.points * g.scale);
    if (row.visible) {
      place.rect = PanelRect{MulDiv(row.x, tw, table.refWidth), MulDiv(row.y, h, table.refHeight), tw, h};
    }
  }
  ApplyHidingRules(g, layout, in);

  const int f = std::min(w - tw - 20, h - 20);
  g.gaugeVisible = layout != 0;
  if (f > 0) {
    const int left = tw + (w - tw - f) / 2;
    const int top = (h - f) / 2;
    g.gauge = PanelRect{left, top, left + f, top + f};
  }
  return g;
}

}  // namespace wattrix
