#pragma once

#include "core/vocabulary/LiveWindowKind.h"
#include "core/vocabulary/Quantity.h"
#include "core/vocabulary/RequestKind.h"

#include <optional>

namespace wattrix {

// The model-dependent choices of the two live measurement windows (the
// Measurement and Pulse kinds), shared by their session logic and views.
namespace mode_view {

inline constexpr int kPanelCount = 4;

// Request state a window starts with after Reinitialise.
RequestKind InitialRequestState(LiveWindowKind view, int modelCode);

// The kind a poll asks for from `state`, and the state of the next poll.
struct RequestStep {
  RequestKind kind;
  RequestKind nextState;
  friend bool operator==(const RequestStep&, const RequestStep&) = default;
};
// A state outside the model's cycle starts the cycle again.
RequestStep NextRequest(LiveWindowKind view, int modelCode, RequestKind state);

// Panel selected after Reinitialise from the model's quantity mask; none
// when the mask has none of the bits looked at (the selection stays).
std::optional<int> InitialSelectedPanel(LiveWindowKind view, QuantityMask quantityMask);

// Whether the history graph is shown on (re)initialisation and when
// returning to multi screen.
bool GraphShownByDefault(LiveWindowKind view, int modelCode);

// Whether a click may select the panel on this model.
bool PanelSelectable(LiveWindowKind view, int modelCode, int panel);

// Panel showing the alarm state of a quantity; −1 for none (CCDF).
int PanelOfQuantity(LiveWindowKind view, Quantity quantity);

// The quantity whose history decides whether a run exists (Start's save
// question, Save's enabling).
Quantity FirstQuantity(LiveWindowKind view, int modelCode);

// QuantityMask written to the history file by Save.
QuantityMask SaveMask(LiveWindowKind view, int modelCode);

// Models on which the "History graph" command is enabled (measurement window).
bool HistoryGraphCommandEnabled(int modelCode);

}  // namespace mode_view
}  // namespace wattrix
