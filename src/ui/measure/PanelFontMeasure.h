#pragma once

#include "core/measure/PanelTextFit.h"

namespace wattrix {

// Measures panel texts with the font metrics of the panels' cached fonts.
class PanelFontMeasure final : public PanelTextMeasure {
 public:
  double Width(int points, const std::string& text) const override;
  double LineHeight(int points) const override;
};

}  // namespace wattrix
