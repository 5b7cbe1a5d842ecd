#include "core/graph/GraphColours.h"

namespace wattrix {

GraphColours GraphColourScheme(int scheme) {
  if (scheme == graph::kPrintScheme) {
    const Argb black = MakeRgb(0, 0, 0);
    return GraphColours{MakeRgb(255, 255, 255), black, black, black, black};
  }
  return GraphColours{MakeRgb(28, 61, 114), MakeRgb(210, 210, 210), MakeRgb(255, 255, 0), MakeRgb(0, 220, 0),
                      MakeRgb(255, 0, 0)};
}

}  // namespace wattrix
