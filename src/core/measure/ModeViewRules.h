#pragma once

#include "core/vocabulary/RequestKind.h"

#include <optional>

namespace wattrix {

// The model-dependent choices of the two live measurement windows, shared
// by their session logic and their views.
enum class ModeView {
  Measurement,  // AVG, PEAK and AVG & PEAK
  Pulse,
};

namespace mode_view {

inline constexpr int kPanelCount = 4;

// Request state a window starts with after Reinitialise.
RequestKind InitialRequestState(ModeView view, int modelCode);

// The kind a poll asks for from `state`, and the state of the next poll.
struct RequestStep {
  RequestKind kind;
  RequestKind nextState;
  friend bool operator==(const RequestStep&, const RequestStep&) = default;
};
// A state outside the model's cycle starts the cycle again.
RequestStep NextRequest(ModeView view, int modelCode, RequestKind state);

// Panel selected after Reinitialise from the model's quantity mask; none
// when the mask has none of the bits looked at (the selection stays).
std::optional<int> InitialSelectedPanel(ModeView view, int quantityMask);

// Whether the history graph is shown on (re)initialisation and when
// returning to multi screen.
bool GraphShownByDefault(ModeView view, int modelCode);

// Whether a click may select the panel on this model.
bool PanelSelectable(ModeView view, int modelCode, int panel);

// Panel showing the alarm state of a quantity; −1 for none (CCDF).
int PanelOfQuantity(ModeView view, int quantity);

// The quantity whose history decides whether a run exists (Start's save
// question, Save's enabling).
int FirstQuantity(ModeView view, int modelCode);

// QuantityMask written to the history file by Save.
int SaveMask(ModeView view, int modelCode);

// Models on which the "History graph" command is enabled (measurement window).
bool HistoryGraphCommandEnabled(int modelCode);

}  // namespace mode_view
}  // namespace wattrix
