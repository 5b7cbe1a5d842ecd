#pragma once

#include "core/measure/MeasurementSettings.h"
#include "core/shell/MenuLayout.h"
#include "core/shell/SensorLinkShell.h"
#include "core/shell/ShellListener.h"
#include "ui/shell/ChildWindowRegistry.h"
#include "ui/shell/CommandTarget.h"
#include "ui/shell/FrameWindows.h"
#include "ui/shell/MenuBuilder.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace wattrix {

class FrameAccelerators;
class FrameMenuSets;
class FrameToolBars;
class ShellController;
class StatusPanes;

// The one top-level window: the document area with the measurement windows
// (one per mode) and any number of history windows, the menus, tool bars
// and status bar. What the commands do and allow is the shell controller's
// to decide; the frame builds the widgets and updates them when told.
class CMainFrame final : public QMainWindow, public CommandTarget, public ShellListener {
  Q_OBJECT

 public:
  using SettingsDialog = FrameWindows::SettingsDialog;
  using LoggingDialog = FrameWindows::LoggingDialog;

  // The frame drives `link`; the application hands it the process-wide one.
  explicit CMainFrame(SensorLink& link, QWidget* parent = nullptr);
  // On the process-wide link (tests build frames this way).
  CMainFrame();
  ~CMainFrame() override;

  // The link this frame and its windows drive.
  SensorLink& Link() const { return m_sensor; }

  MeasurementSettings& Settings() { return m_settings; }
  // Creators of the child windows, filled at start-up.
  ChildWindowRegistry& Registry() { return m_registry; }
  // The dialogs the Setting and Download Logging Data commands open; the
  // commands stay disabled until they are set.
  void SetSettingsDialog(SettingsDialog dialog);
  void SetLoggingDialog(LoggingDialog dialog);
  // Handles what neither a child nor the frame handles (Help, About).
  void SetFallbackTarget(CommandTarget* target) { m_fallback = target; }

  // Puts a text into status-bar pane 0 (two thirds) or 1 (one third).
  void SetStatusText(const QString& text, int pane);
  QString StatusText(int pane) const;

  // A right-click menu (MeasurementPopup or HistoryPopup) whose items run
  // through the same routing as the menu bar; owned by `parent`.
  QMenu* BuildPopup(menu::MenuKind kind, QWidget* parent);

  // Runs a command through the active child, its frame, the main frame.
  void RouteCommand(int id);
  // The same after the current event has been handled (what menus, tool
  // bars and keys use, so a command may close the window that sent it).
  void PostCommand(int id);
  CommandState CommandStateOf(int id);

  // The history file the command line names (all arguments after the
  // program name as one text, double quotes removed); nothing when empty.
  static QString CommandLineFile(const QStringList& arguments);
  void OpenCommandLineFile(const QStringList& arguments);
  // The open flow without the file dialog; true when a window shows it.
  bool OpenHistoryFile(const QString& path);

  // "USB" or "COM%d" of the connected port.
  QString ConnectionText() const;
  // The sensor was connected on a COM port (transfers take their time).
  bool SerialLink() const;
  LiveWindowKind CurrentMode() const;
  bool IsConnected() const;

  QMdiArea* MdiArea() const { return m_mdi; }
  ChildFrame* ActiveChild() const { return m_windows->ActiveChildFrame(); }
  ChildFrame* ChildOfKind(ChildKind kind) const { return m_windows->ChildOfKind(kind); }
  QMdiSubWindow* SubWindowOf(ChildKind kind) const { return m_windows->SubWindowOf(kind); }
  FrameToolBars& ToolBars() const { return *m_toolBars; }
  FrameAccelerators& Accelerators() const { return *m_accelerators; }
  menu::MenuKind ShownMenu() const;

  // Runs a long sensor exchange off the user-interface thread (the frame
  // keeps painting; the connection state shown meanwhile stays as it was).
  void RunExchange(const std::function<void()>& exchange);
  // A child window was activated, opened or closed.
  void ChildrenChanged();

  bool OnCommand(int id) override;
  bool UpdateCommand(int id, CommandState& state) override;

  // What the shell controller tells. Command states are asked again once
  // the current event has been handled, however often they changed in it.
  void CommandStatesChanged() override;
  void StatusTextChanged(int pane, const std::string& text) override;
  void MenuSetChanged(menu::MenuKind kind) override;
  void ToolBarsShown(bool shown) override;
  void StatusBarShown(bool shown) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  QMenu* createPopupMenu() override { return nullptr; }

 private:
  void RefreshCommandStates();

  MeasurementSettings m_settings;
  ChildWindowRegistry m_registry;
  MenuBuilder m_menus;
  QMdiArea* m_mdi = nullptr;
  FrameToolBars* m_toolBars = nullptr;
  FrameAccelerators* m_accelerators = nullptr;
  StatusPanes* m_panes = nullptr;
  std::unique_ptr<FrameMenuSets> m_menuSets;
  SensorLink& m_sensor;
  SensorLinkShell m_link;
  std::unique_ptr<FrameWindows> m_windows;
  std::unique_ptr<ShellController> m_shell;
  CommandTarget* m_fallback = nullptr;
  bool m_refreshPending = false;
};

}  // namespace wattrix
