#pragma once

#include "core/platform/Canvas.h"

namespace wattrix {

// The colours of one graph colour scheme.
struct GraphColours {
  Argb background;  // the whole area and every label box
  Argb foreground;  // frame, grid, tick marks, all texts
  Argb data;
  Argb average;  // average line and its label
  Argb limits;
};

namespace graph {
constexpr int kSchemeCount = 9;
constexpr int kScreenScheme = 1;
constexpr int kPrintScheme = 8;
}  // namespace graph

// Scheme 8 prints: white background, every other element black. All the
// others are the screen colours.
GraphColours GraphColourScheme(int scheme);

}  // namespace wattrix
