#pragma once

#include "core/measure/MeasurementPanel.h"
#include "core/measure/ModeSessionHost.h"
#include "core/platform/MessageBoxes.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace wattrix::test {

// A read-out panel that keeps what the window logic told it.
class RecordingPanel final : public MeasurementPanel {
 public:
  wattrix::Quantity Quantity() const override { return quantity.value_or(kAvg); }
  void SetQuantity(wattrix::Quantity q) override { quantity = q; }
  int Layout() const override { return layout; }
  void SetLayout(int l) override { layout = l; }
  bool AlarmState() const override { return alarm; }
  void SetAlarmState(bool on) override { alarm = on; }
  void Refresh(PanelRefresh kind) override { refreshes.push_back(kind); }
  void Relayout() override { ++relayouts; }

  std::optional<wattrix::Quantity> quantity;  // none until the logic sets one
  int layout = -1;
  bool alarm = false;
  std::vector<PanelRefresh> refreshes;
  int relayouts = 0;
};

// The window around the logic: answers questions from a script (no by
// default) and records everything else.
class RecordingHost final : public ModeSessionHost {
 public:
  bool AskYesNo(const char* key) override {
    questions.emplace_back(key);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  int AskYesNoCancel(const char* key) override {
    questions.emplace_back(key);
    if (threeWayAnswers.empty()) return kAnswerCancel;
    const int answer = threeWayAnswers.front();
    threeWayAnswers.pop_front();
    return answer;
  }
  void ShowWarning(const char* key) override { warningBoxes.emplace_back(key); }
  void RunSaveCommand() override {
    ++saveCommands;
    if (onSave) onSave();
  }
  void RunExchange(const std::function<void()>& exchange) override {
    ++exchanges;
    exchange();
  }
  void SetWarningText(const std::string& text) override { warnings.push_back(text); }
  void GraphShowQuantity(int modelCode, Quantity quantity) override {
    graphModel = modelCode;
    graphQuantity = quantity;
  }
  void GraphUpdate(bool reset) override {
    ++graphUpdates;
    if (reset) ++graphResets;
  }
  void Relayout() override { ++relayouts; }

  std::deque<bool> answers;
  std::deque<int> threeWayAnswers;  // cancel when empty
  std::vector<std::string> warningBoxes;
  std::vector<std::string> questions;
  std::function<void()> onSave;
  int saveCommands = 0;
  int exchanges = 0;
  std::vector<std::string> warnings;
  int graphModel = -1;
  std::optional<Quantity> graphQuantity;
  int graphUpdates = 0;
  int graphResets = 0;
  int relayouts = 0;
};

}  // namespace wattrix::test
