#pragma once

#include "core/measure/MeasurementSettings.h"
#include "core/shell/MenuLayout.h"
#include "ui/shell/ChildWindowRegistry.h"
#include "ui/shell/CommandTarget.h"
#include "ui/shell/MenuBuilder.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <memory>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QTimer;

namespace wattrix {

class FrameAccelerators;
class FrameToolBars;
class StatusPanes;
class SensorLossWatch;

// The one top-level window: the document area with the measurement windows
// (one per mode) and any number of history windows, the menus, tool bars
// and status bar, connecting and disconnecting the sensor, switching the
// measurement mode and opening history files.
class CMainFrame final : public QMainWindow, public CommandTarget {
  Q_OBJECT

 public:
  // Current mode: the measurement window (AVG, PEAK, AVG & PEAK), PULSE, CCDF.
  static constexpr int kModeMeasurement = 0;
  static constexpr int kModePulse = 3;
  static constexpr int kModeCcdf = 4;

  // Opens the settings dialog over `settings` on `page` with `subPage`
  // selected; true when it was closed with OK.
  using SettingsDialog =
      std::function<bool(QWidget* owner, MeasurementSettings& settings, int page, int subPage)>;
  // Shows the logging download dialog (the logging status has been read).
  using LoggingDialog = std::function<void(QWidget* owner, MeasurementSettings& settings)>;

  explicit CMainFrame(QWidget* parent = nullptr);
  ~CMainFrame() override;

  MeasurementSettings& Settings() { return m_settings; }
  // Creators of the child windows, filled at start-up.
  ChildWindowRegistry& Registry() { return m_registry; }
  // The dialogs the Setting and Download Logging Data commands open; the
  // commands stay disabled until they are set.
  void SetSettingsDialog(SettingsDialog dialog) { m_settingsDialog = std::move(dialog); }
  void SetLoggingDialog(LoggingDialog dialog) { m_loggingDialog = std::move(dialog); }
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
  const QString& ConnectionText() const { return m_connectionText; }
  // The sensor was connected on a COM port (transfers take their time).
  bool SerialLink() const { return m_serialLink; }
  int CurrentMode() const { return m_currentMode; }
  bool IsConnected() const;

  QMdiArea* MdiArea() const { return m_mdi; }
  ChildFrame* ActiveChild() const;
  ChildFrame* ChildOfKind(ChildKind kind) const;
  QMdiSubWindow* SubWindowOf(ChildKind kind) const;
  FrameToolBars& ToolBars() const { return *m_toolBars; }
  FrameAccelerators& Accelerators() const { return *m_accelerators; }
  menu::MenuKind ShownMenu() const { return m_shownMenu; }

  // Runs a long sensor exchange off the user-interface thread (the frame
  // keeps painting; the connection state shown meanwhile stays as it was).
  void RunExchange(const std::function<void()>& exchange);

  bool OnCommand(int id) override;
  bool UpdateCommand(int id, CommandState& state) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  QMenu* createPopupMenu() override { return nullptr; }

 private:
  void BuildMenus();
  void OnChildActivated();
  void SwitchToolBar();
  void ToggleToolBars();
  void UpdateConnectionStatus();

  void OnConnect();
  void OnDisconnect();
  void OnOpen();
  void OnModeCommand(int id);
  // Prepares, titles and shows a mode window for the connected sensor.
  void OpenModeWindow(QMdiSubWindow* window, ChildKind kind);
  void OnSetting();
  void OnDownloadLogging();

  QMdiSubWindow* AddChild(std::unique_ptr<ChildFrame> child);
  void ShowChild(QMdiSubWindow* window);
  void CloseChild(QMdiSubWindow* window, bool immediately);
  CommandState ModeCommandState(int id);

  MeasurementSettings m_settings;
  ChildWindowRegistry m_registry;
  MenuBuilder m_menus;
  // The three menu sets, built once; the bar shows the set of the active
  // child's kind.
  std::array<QMenuBar*, 3> m_menuSets{};
  menu::MenuKind m_shownMenu = menu::MenuKind::Main;
  QMdiArea* m_mdi = nullptr;
  FrameToolBars* m_toolBars = nullptr;
  FrameAccelerators* m_accelerators = nullptr;
  StatusPanes* m_panes = nullptr;
  QTimer* m_stateTimer = nullptr;
  SensorLossWatch* m_lossWatch = nullptr;

  SettingsDialog m_settingsDialog;
  LoggingDialog m_loggingDialog;
  CommandTarget* m_fallback = nullptr;

  int m_currentMode = kModeMeasurement;
  QString m_connectionText;
  bool m_serialLink = false;
  bool m_exchangeRunning = false;
  mutable bool m_connected = false;
  // Mode commands keep their state for a model code outside the table.
  std::map<int, bool> m_modeStates;
};

}  // namespace wattrix
