#pragma once

#include "core/platform/MessageBoxes.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/Quantity.h"

#include <functional>
#include <string>

namespace wattrix {

// What the logic of a live measurement window asks of the window around it
// (the Qt view, or the command-line tool's loop). Everything here runs on
// the thread that owns the session.
class ModeSessionHost {
 public:
  // The answers of AskYesNoCancel (the message boxes' ids).
  static constexpr int kAnswerYes = mb::kIdYes;
  static constexpr int kAnswerNo = mb::kIdNo;
  static constexpr int kAnswerCancel = mb::kIdCancel;

  virtual ~ModeSessionHost() = default;

  // A yes/no question by string-table key; true on yes.
  virtual bool AskYesNo(const char* key) = 0;
  // A yes / no / cancel question (save, discard, keep the window); the
  // answer is mb::kIdYes, kIdNo or kIdCancel. A host that cannot offer
  // cancel asks yes/no.
  virtual int AskYesNoCancel(const char* key) { return AskYesNo(key) ? mb::kIdYes : mb::kIdNo; }
  // A refusal the user has to read (warning box by string-table key).
  virtual void ShowWarning(const char* key) {
    strings::MessageBoxKeyNoOwner(key, mb::kIconWarning | mb::kOk);
  }
  // Runs the window's Save command (file dialog, write, error box); Start
  // calls it when the user wants the previous run saved first.
  virtual void RunSaveCommand() = 0;
  // Runs a sensor exchange that may take long (the start commands over a
  // serial link); the window keeps painting meanwhile. Returns when done.
  virtual void RunExchange(const std::function<void()>& exchange) { exchange(); }
  // Text of the status bar's second pane (power-direction warning); an
  // empty text clears the pane.
  virtual void SetWarningText(const std::string& text) = 0;

  // The history graph: it now shows `quantity` of `modelCode`.
  virtual void GraphShowQuantity(int modelCode, Quantity quantity) = 0;
  // The history graph takes the newest readings; `reset` starts the run over
  // (after Start or Reset).
  virtual void GraphUpdate(bool reset) = 0;
  // The panels, their selection, full screen or the graph's visibility
  // changed: place the children again (ModeSession::Arrangement).
  virtual void Relayout() = 0;
  // A command state changed without a command (a single measurement ended
  // with a reading): whatever shows the states asks again once the
  // reading has been handled.
  virtual void CommandStatesChanged() {}
};

}  // namespace wattrix
