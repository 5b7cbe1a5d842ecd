#pragma once

#include "core/shell/ChildKind.h"
#include "core/shell/MenuLayout.h"
#include "core/vocabulary/CommandState.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace wattrix {

class MeasurementSettings;
class ShellLink;
class ShellListener;
class ShellWindows;

// The main frame's decisions, without widgets: connecting and
// disconnecting the sensor, the lost line, which modes the connected model
// offers, the current mode, which settings page opens, when a child window
// may go, which menu set shows, and the state of every command the frame
// handles. Changes are told to the listener as they happen; nothing polls.
class ShellController final {
 public:
  // Message boxes are owned by `boxOwner` (the frame).
  ShellController(ShellLink& link, MeasurementSettings& settings, ShellWindows& windows,
                  ShellListener& listener, void* boxOwner);

  // True when the shell handled the command.
  bool OnCommand(int id);
  // True when the shell decides the command's state (and set it).
  bool UpdateCommand(int id, CommandState& state);

  // A child window was activated, opened or closed.
  void ChildrenChanged();
  // The link reported its line gone (on the user-interface thread).
  void LineLost();
  // Something outside the shell changed what the windows' commands allow
  // (a dialog or window class was registered).
  void CapabilitiesChanged();
  // Runs a long sensor exchange; meanwhile the connection state from before
  // stands, so that painting and state queries never wait for the link.
  void RunExchange(const std::function<void()>& exchange);

  bool IsConnected() const;
  // The sensor stopped answering and has not been connected again.
  bool SensorLost() const { return m_lost; }
  LiveWindowKind CurrentMode() const { return m_currentMode; }
  // "USB" or "COM<n>" of the connected port.
  const std::string& ConnectionText() const { return m_connectionText; }
  // The sensor was connected on a COM port (transfers take their time).
  bool SerialLink() const { return m_serialLink; }
  menu::MenuKind ShownMenu() const { return m_shownMenu; }
  bool ToolBarsShown() const { return m_toolBarsShown; }
  bool StatusBarShown() const { return m_statusBarShown; }

  // The menu set for the kind of the active child (none open: Main).
  static menu::MenuKind MenuFor(std::optional<ChildKind> active);
  // "Model: PX420B   S/N: 123456   USB" from the panels' labels.
  static std::string ConnectionStatus(const std::string& model, const std::string& serial,
                                      const std::string& connection);

 private:
  void OnConnect();
  void OnDisconnect();
  void OnModeCommand(int id);
  void PresentLiveWindow(LiveWindowKind kind);
  void OnSetting();
  void OnDownloadLogging();
  void ShowConnectionStatus();
  CommandState ModeCommandState(int id);
  void Box(const char* key, unsigned type);

  ShellLink& m_link;
  MeasurementSettings& m_settings;
  ShellWindows& m_windows;
  ShellListener& m_listener;
  void* m_boxOwner;

  LiveWindowKind m_currentMode = LiveWindowKind::Measurement;
  std::string m_connectionText;
  bool m_serialLink = false;
  bool m_lost = false;
  bool m_exchangeRunning = false;
  mutable bool m_connected = false;
  menu::MenuKind m_shownMenu = menu::MenuKind::Main;
  bool m_toolBarsShown = true;
  bool m_statusBarShown = true;
  // Mode commands keep their state for a model code outside the table.
  std::map<int, bool> m_modeStates;
};

}  // namespace wattrix
