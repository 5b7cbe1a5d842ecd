#pragma once

#include "core/shell/ChildKind.h"
#include "core/vocabulary/Quantity.h"

#include <functional>
#include <optional>
#include <string>

namespace wattrix {

// The main frame's child windows and dialogs as the shell controller sees
// them: what is there, and the widget work of the flows it decides.
class ShellWindows {
 public:
  enum class Arrangement { Cascade, TileHorizontally, TileVertically };

  virtual ~ShellWindows() = default;

  // A window class of that kind is registered.
  virtual bool CanCreate(ChildKind kind) const = 0;
  // History windows can be made and loaded.
  virtual bool CanOpenHistory() const = 0;
  virtual bool HasSettingsDialog() const = 0;
  virtual bool HasLoggingDialog() const = 0;
  // Kind of the active child; none when no child is open.
  virtual std::optional<ChildKind> ActiveChild() const = 0;
  virtual bool HasChildren() const = 0;
  virtual bool HasLiveWindow(LiveWindowKind kind) const = 0;
  // The quantity the live window shows (Quantity.h).
  virtual Quantity CurrentQuantity(LiveWindowKind kind) const = 0;

  // The port the user picked in the connect dialog; none when cancelled.
  virtual std::optional<int> ChoosePort() = 0;
  // Runs a long sensor exchange off the user-interface thread and returns
  // when it is done; the windows keep painting meanwhile.
  virtual void RunAndWait(const std::function<void()>& exchange) = 0;
  // The live windows stop measuring.
  virtual void StopLiveWindows() = 0;
  // The children learn that the sensor stopped answering (true) or that one
  // is connected again (false).
  virtual void TellSensorLost(bool lost) = 0;

  // The file dialog, then a history window for the chosen file.
  virtual void OpenHistoryByDialog() = 0;
  // Asks the active child about what it would lose; true when it may go
  // (also when no child is active).
  virtual bool ActiveChildAgreesToClose() = 0;
  virtual void CloseActiveChild() = 0;
  // Makes a hidden live window of `kind`; the child that was active stops
  // and goes at once. False when no window could be made.
  virtual bool ReplaceActiveChild(LiveWindowKind kind) = 0;
  // Closes the live window of `kind` at once.
  virtual void DiscardLiveWindow(LiveWindowKind kind) = 0;
  // Prepares the live window of `kind` for the model, titles it (made
  // unique) and brings it up.
  virtual void PresentLiveWindow(LiveWindowKind kind, int modelCode, const std::string& title) = 0;

  // The settings dialog on `page` / `subPage`; true when closed with OK.
  virtual bool OpenSettings(int page, int subPage) = 0;
  // The live window of `kind` takes over changed settings.
  virtual void ApplySettings(LiveWindowKind kind) = 0;
  // Reads the logging status and shows the download dialog.
  virtual void DownloadLogging() = 0;
  virtual void Arrange(Arrangement arrangement) = 0;
  // Runs a command after the current event has been handled.
  virtual void PostCommand(int id) = 0;
  // Closes the main frame (asking the children first).
  virtual void Exit() = 0;
};

}  // namespace wattrix
