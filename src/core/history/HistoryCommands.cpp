#include "core/history/HistoryCommands.h"

#include "core/platform/NumberText.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

namespace wattrix {

namespace {

bool In(int code, std::initializer_list<int> codes) {
  for (const int c : codes) {
    if (c == code) return true;
  }
  return false;
}

bool Enabled(HistoryCommand command, int m, QuantityMask fileMask) {
  const auto has = [fileMask](QuantityMask bit) { return static_cast<bool>(fileMask & bit); };
  switch (command) {
    case HistoryCommand::Avg:
      return In(m, {0, 1, 2, 4, 6, 7}) || (In(m, {5, 9}) && has(mask::kAvg));
    case HistoryCommand::Rev:
      return m == 5 && has(mask::kRev);
    case HistoryCommand::Peak:
      return In(m, {0, 2, 3, 4, 7, 8}) || (In(m, {5, 9}) && has(mask::kPeak));
    case HistoryCommand::Pulse:
      return In(m, {5, 9}) && has(mask::kPulse);
    case HistoryCommand::Vswr:
    case HistoryCommand::ReturnLoss:
      return In(m, {0, 2, 7}) || (m == 5 && has(mask::kVswr));
    case HistoryCommand::Par:
      return m == 4 || (m == 9 && has(mask::kVswr));
    case HistoryCommand::Save:
      return false;
  }
  return false;
}

}  // namespace

CommandState HistoryCommandState(HistoryCommand command, int modelCode, QuantityMask mask, Quantity quantity,
                                 bool returnLoss, bool changed) {
  CommandState state;
  state.enabled = command == HistoryCommand::Save ? changed : Enabled(command, modelCode, mask);
  switch (command) {
    case HistoryCommand::Avg:
      state.checked = quantity == kAvg;
      break;
    case HistoryCommand::Rev:
      state.checked = quantity == kRev && modelCode == 5;
      break;
    case HistoryCommand::Peak:
      state.checked = quantity == kPeak;
      break;
    case HistoryCommand::Pulse:
      state.checked = quantity == kPulse;
      break;
    case HistoryCommand::Vswr:
      state.checked = quantity == kVswr && !returnLoss;
      break;
    case HistoryCommand::ReturnLoss:
      state.checked = quantity == kVswr && returnLoss;
      break;
    case HistoryCommand::Par:
      state.checked = quantity == kVswr;
      break;
    case HistoryCommand::Save:
      break;
  }
  return state;
}

std::optional<QuantityChoice> QuantityOfCommand(HistoryCommand command) {
  switch (command) {
    case HistoryCommand::Avg:
      return QuantityChoice{kAvg, false};
    case HistoryCommand::Rev:
      return QuantityChoice{kRev, false};
    case HistoryCommand::Peak:
      return QuantityChoice{kPeak, false};
    case HistoryCommand::Pulse:
      return QuantityChoice{kPulse, false};
    case HistoryCommand::Vswr:
      return QuantityChoice{kVswr, false};
    case HistoryCommand::ReturnLoss:
      return QuantityChoice{kVswr, true};
    case HistoryCommand::Par:
      return QuantityChoice{kVswr, false};
    case HistoryCommand::Save:
      return std::nullopt;
  }
  return std::nullopt;
}

ScaleProposal ProposeScale(float min, float max) {
  const float d = max - min;
  return ScaleProposal{max + d / 10, min - d / 10};
}

float ParseScaleField(std::string_view text) {
  const auto value = ParseDecimal(text);
  if (!value || std::isnan(*value)) return 0.0f;
  constexpr double kLargest = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(*value, -kLargest, kLargest));
}

}  // namespace wattrix
