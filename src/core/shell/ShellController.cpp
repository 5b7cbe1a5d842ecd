#include "core/shell/ShellController.h"

#include "core/device/PortAccess.h"
#include "core/measure/MeasurementSettings.h"
#include "core/platform/MessageBoxes.h"
#include "core/platform/NumberText.h"
#include "core/platform/TraceSink.h"
#include "core/settings/SettingsTabs.h"
#include "core/shell/ShellLink.h"
#include "core/shell/ShellListener.h"
#include "core/shell/ShellWindows.h"
#include "core/shell/WindowTitles.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/SensorModel.h"

namespace wattrix {

namespace {

ModeCommand ModeCommandOf(int id) {
  switch (id) {
    case cmd::kModeAvg:
      return ModeCommand::Avg;
    case cmd::kModePeak:
      return ModeCommand::Peak;
    case cmd::kModeAvgPeak:
      return ModeCommand::AvgPeak;
    case cmd::kModePulse:
      return ModeCommand::Pulse;
    case cmd::kModeCcdf:
      return ModeCommand::Ccdf;
    default:
      return ModeCommand::DownloadLog;
  }
}

// AVG, PEAK and AVG & PEAK all show the measurement window.
LiveWindowKind WindowOfModeCommand(int id) {
  if (id == cmd::kModePulse) return LiveWindowKind::Pulse;
  if (id == cmd::kModeCcdf) return LiveWindowKind::Ccdf;
  return LiveWindowKind::Measurement;
}

std::string Trimmed(const std::string& text) {
  constexpr const char* kSpace = " \t\r\n";
  const auto first = text.find_first_not_of(kSpace);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

}  // namespace

ShellController::ShellController(ShellLink& link, MeasurementSettings& settings, ShellWindows& windows,
                                 ShellListener& listener, void* boxOwner)
    : m_link(link), m_settings(settings), m_windows(windows), m_listener(listener), m_boxOwner(boxOwner) {}

bool ShellController::IsConnected() const {
  if (!m_exchangeRunning) m_connected = m_link.IsConnected();
  return m_connected;
}

void ShellController::RunExchange(const std::function<void()>& exchange) {
  IsConnected();  // the state that stands meanwhile
  m_exchangeRunning = true;
  m_windows.RunAndWait(exchange);
  m_exchangeRunning = false;
}

menu::MenuKind ShellController::MenuFor(std::optional<ChildKind> active) {
  if (!active) return menu::MenuKind::Main;
  return active->IsHistory() ? menu::MenuKind::History : menu::MenuKind::Measurement;
}

std::string ShellController::ConnectionStatus(const std::string& model, const std::string& serial,
                                              const std::string& connection) {
  return Trimmed(strings::GetString("S_MEASUREVIEW_MODEL") + " " + model + "   " +
                 strings::GetString("S_MEASUREVIEW_SN") + " " + serial + "   " + connection);
}

void ShellController::ChildrenChanged() {
  m_shownMenu = MenuFor(m_windows.ActiveChild());
  m_listener.MenuSetChanged(m_shownMenu);
  m_listener.CommandStatesChanged();
}

void ShellController::CapabilitiesChanged() { m_listener.CommandStatesChanged(); }

void ShellController::LineLost() {
  // A sensor connected again before this arrived is not touched.
  if (!m_link.LineLost()) return;
  m_lost = true;
  // The thread and the port go at once (nothing answers, so this is
  // quick); Connect then starts from scratch when the sensor is back.
  m_link.Disconnect();
  m_windows.TellSensorLost(true);
  m_listener.StatusTextChanged(0, strings::GetString("S_MEASUREVIEW_SENSORLOST"));
  m_listener.CommandStatesChanged();
}

void ShellController::Box(const char* key, unsigned type) { strings::MessageBoxKey(m_boxOwner, key, type); }

void ShellController::ShowConnectionStatus() {
  m_listener.StatusTextChanged(
      0, IsConnected() ? ConnectionStatus(m_settings.ModelName(), m_settings.SerialNumber(), m_connectionText)
                       : std::string());
}

void ShellController::OnConnect() {
  Trace("MainFrame OnDeviceConnect start");
  if (IsConnected()) return;
  const std::optional<int> port = m_windows.ChoosePort();
  if (!port) return;
  int result = -2;
  // Identification takes up to a few seconds on a silent port.
  RunExchange([this, &result, port] { result = m_link.Connect(*port); });
  if (result != 0) {
    // A port this user may not open says so, and what to do about it.
    if (const std::string denied = PortPermissionProblem(*port); !denied.empty()) {
      strings::MessageBoxText(m_boxOwner, denied, mb::kIconError | mb::kOk);
    } else {
      Box("S_MAINFRAME_ONDEVICECONNECT", mb::kIconError | mb::kOk);
    }
    m_listener.CommandStatesChanged();
    return;
  }
  const SensorModel* row = FindModelByDeviceCode(m_link.DeviceCode());
  m_settings.SetDevice(row ? row->modelCode : -1, m_link.SerialNumber(), m_link.FirmwareVersion());
  m_connectionText = *port < 1 ? std::string("USB") : FormatC("COM%d", *port);
  m_serialLink = *port >= 1;
  ShowConnectionStatus();
  if (m_lost) {
    m_lost = false;
    m_windows.TellSensorLost(false);
  }
  m_listener.CommandStatesChanged();
  Box("S_IDD_CONNECTED", mb::kIconInformation | mb::kOk);
}

void ShellController::OnDisconnect() {
  // The live windows stop first: without a sensor they must not go on
  // showing a running measurement.
  m_windows.StopLiveWindows();
  RunExchange([this] { m_link.Disconnect(); });
  m_lost = false;  // nothing is lost any more, only disconnected
  ShowConnectionStatus();
  m_listener.CommandStatesChanged();
  Box("S_IDD_DISCONNECTED", mb::kIconInformation | mb::kOk);
}

void ShellController::OnModeCommand(int id) {
  const LiveWindowKind kind = WindowOfModeCommand(id);
  const LiveWindowKind modeBefore = m_currentMode;
  m_currentMode = kind;

  // A window of that kind already there is set up for the connected
  // sensor again (it may have measured another model before a reconnect).
  if (m_windows.HasLiveWindow(kind)) {
    if (!IsConnected()) {
      strings::MessageBoxKeyNoOwner("S_MAINFRAME_ONDEVICECONNECT", mb::kIconError | mb::kOk);
      return;
    }
    PresentLiveWindow(kind);
    return;
  }
  // The window that would close may keep itself (an unsaved run).
  if (!m_windows.ActiveChildAgreesToClose()) {
    m_currentMode = modeBefore;
    return;
  }
  // The window that was active, of whatever kind, stops and closes.
  if (!m_windows.ReplaceActiveChild(kind)) return;
  if (!IsConnected()) {
    strings::MessageBoxKeyNoOwner("S_MAINFRAME_ONDEVICECONNECT", mb::kIconError | mb::kOk);
    m_windows.DiscardLiveWindow(kind);
    return;
  }
  PresentLiveWindow(kind);
}

void ShellController::PresentLiveWindow(LiveWindowKind kind) {
  m_windows.PresentLiveWindow(kind, m_settings.ModelCode(),
                              titles::ModeWindowTitle(m_connectionText, m_settings.ModelName(), kind));
  // The CCDF window opens its settings at once.
  if (kind == LiveWindowKind::Ccdf) m_windows.PostCommand(cmd::kDeviceSetting);
}

void ShellController::OnSetting() {
  if (!m_windows.HasSettingsDialog() || !IsConnected()) return;
  // The dialog opens on the page of the current mode's window, and for the
  // measurement window on the range of the quantity it shows.
  const LiveWindowKind mode = m_currentMode;
  const bool window = m_windows.HasLiveWindow(mode);
  int page = 0;
  int subPage = 0;
  if (window) {
    page = settings_tabs::InitialTab(mode);
    if (mode == LiveWindowKind::Measurement)
      subPage = settings_tabs::InitialSubTab(m_settings.ModelCode(), m_windows.CurrentQuantity(mode));
  }
  const bool accepted = m_windows.OpenSettings(page, subPage);
  if (accepted && window && m_windows.HasLiveWindow(mode)) m_windows.ApplySettings(mode);
}

void ShellController::OnDownloadLogging() {
  if (ModeCommandState(cmd::kDownloadLogging).enabled) m_windows.DownloadLogging();
}

CommandState ShellController::ModeCommandState(int id) {
  const int code = m_settings.ModelCode();
  bool offered = false;
  if (FindModelByCode(code)) {
    offered = IsConnected() && ModelOffers(code, ModeCommandOf(id));
    m_modeStates[id] = offered;
  } else {
    offered = m_modeStates[id];  // a code outside the table keeps the previous state
  }
  // A mode whose window class is not there, or a dialog not yet provided,
  // stays disabled.
  const bool available = id == cmd::kDownloadLogging ? m_windows.HasLoggingDialog()
                                                     : m_windows.CanCreate(WindowOfModeCommand(id));
  return {offered && available, false};
}

bool ShellController::UpdateCommand(int id, CommandState& state) {
  switch (id) {
    case cmd::kConnectDevice:
      state = {!IsConnected(), false};
      return true;
    case cmd::kDisconnectDevice:
      state = {IsConnected(), false};
      return true;
    case cmd::kFileOpen:
      state = {m_windows.CanOpenHistory(), false};
      return true;
    case cmd::kFileClose:
      state = {m_windows.ActiveChild().has_value(), false};
      return true;
    case cmd::kModeAvg:
    case cmd::kModePeak:
    case cmd::kModeAvgPeak:
    case cmd::kModePulse:
    case cmd::kModeCcdf:
    case cmd::kDownloadLogging:
      state = ModeCommandState(id);
      return true;
    case cmd::kDeviceSetting:
      state = {IsConnected() && m_windows.HasSettingsDialog(), false};
      return true;
    case cmd::kViewToolBar:
      state = {true, m_toolBarsShown};
      return true;
    case cmd::kViewStatusBar:
      state = {true, m_statusBarShown};
      return true;
    case cmd::kWindowCascade:
    case cmd::kWindowTileHorizontal:
    case cmd::kWindowTileVertical:
      state = {m_windows.HasChildren(), false};
      return true;
    case cmd::kAppExit:
    case cmd::kSwitchToolBar:
      state = {true, false};
      return true;
    default:
      return false;
  }
}

bool ShellController::OnCommand(int id) {
  switch (id) {
    case cmd::kConnectDevice:
      OnConnect();
      return true;
    case cmd::kDisconnectDevice:
      OnDisconnect();
      return true;
    case cmd::kFileOpen:
      if (m_windows.CanOpenHistory()) m_windows.OpenHistoryByDialog();
      return true;
    case cmd::kFileClose:
      if (m_windows.ActiveChild() && m_windows.ActiveChildAgreesToClose()) m_windows.CloseActiveChild();
      return true;
    case cmd::kModeAvg:
    case cmd::kModePeak:
    case cmd::kModeAvgPeak:
    case cmd::kModePulse:
    case cmd::kModeCcdf:
      if (ModeCommandState(id).enabled) OnModeCommand(id);
      return true;
    case cmd::kDownloadLogging:
      OnDownloadLogging();
      return true;
    case cmd::kDeviceSetting:
      OnSetting();
      return true;
    case cmd::kViewToolBar:
      m_toolBarsShown = !m_toolBarsShown;
      m_listener.ToolBarsShown(m_toolBarsShown);
      return true;
    case cmd::kViewStatusBar:
      m_statusBarShown = !m_statusBarShown;
      m_listener.StatusBarShown(m_statusBarShown);
      return true;
    case cmd::kWindowCascade:
      m_windows.Arrange(ShellWindows::Arrangement::Cascade);
      return true;
    case cmd::kWindowTileHorizontal:
      m_windows.Arrange(ShellWindows::Arrangement::TileHorizontally);
      return true;
    case cmd::kWindowTileVertical:
      m_windows.Arrange(ShellWindows::Arrangement::TileVertically);
      return true;
    case cmd::kSwitchToolBar:
      // When the user hid the bars they stay hidden.
      if (m_toolBarsShown) m_listener.ToolBarsShown(true);
      return true;
    case cmd::kAppExit:
      m_windows.Exit();
      return true;
    default:
      return false;
  }
}

}  // namespace wattrix
