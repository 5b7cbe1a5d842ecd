#pragma once

#include "core/vocabulary/CommandState.h"
#include "core/vocabulary/Quantity.h"

#include <optional>
#include <string_view>

namespace wattrix {

// The quantity commands of a history window and Save, whose menu state
// depends on the loaded file.
enum class HistoryCommand { Avg, Rev, Peak, Pulse, Vswr, ReturnLoss, Par, Save };

// Enabled and checked state of a history command for the file's model code
// and mask, the quantity shown, the return-loss flag and the changed flag.
CommandState HistoryCommandState(HistoryCommand command, int modelCode, QuantityMask mask, Quantity quantity,
                                 bool returnLoss, bool changed);

// The quantity and return-loss flag a quantity command shows; nullopt for
// Save.
struct QuantityChoice {
  Quantity quantity = kAvg;
  bool returnLoss = false;
};
std::optional<QuantityChoice> QuantityOfCommand(HistoryCommand command);

// The scale dialog's proposal from a quantity's min and max: a tenth of
// the span above and below.
struct ScaleProposal {
  float top = 0;
  float bottom = 0;
};
ScaleProposal ProposeScale(float min, float max);

// A scale field as the dialog reads it on OK: a decimal number, 0 when the
// text is not one.
float ParseScaleField(std::string_view text);

}  // namespace wattrix
