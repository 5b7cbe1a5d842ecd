#include "core/shell/ShellController.h"

#include "core/measure/MeasurementSettings.h"
#include "core/platform/HostPaths.h"
#include "core/shell/ShellLink.h"
#include "core/shell/ShellListener.h"
#include "core/shell/ShellWindows.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/Quantity.h"
#include "core/vocabulary/SensorModel.h"
#include "support/Recorders.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace wattrix {
namespace {

constexpr int kDevicePX420B = 10;
constexpr int kDevicePX430A = 5;

class FakeLink final : public ShellLink {
 public:
  int Connect(int port) override {
    ports.push_back(port);
    if (result == 0) connected = true, lost = false;
    return result;
  }
  void Disconnect() override { connected = false, ++disconnects; }
  bool IsConnected() const override { return connected && !lost; }
  bool LineLost() const override { return lost; }
  int DeviceCode() const override { return deviceCode; }
  int SerialNumber() const override { return 4711; }
  int FirmwareVersion() const override { return 123; }

  int result = 0;
  int deviceCode = kDevicePX420B;
  bool connected = false;
  bool lost = false;
  int disconnects = 0;
  std::vector<int> ports;
};

// The frame's windows: what is open and registered is set by the test;
// every flow step is written to `calls`.
class FakeWindows final : public ShellWindows {
 public:
  bool CanCreate(ChildKind kind) const override { return creatable.count(kind.Index()) > 0; }
  bool CanOpenHistory() const override { return CanCreate(ChildKind::History); }
  bool HasSettingsDialog() const override { return settingsDialog; }
  bool HasLoggingDialog() const override { return loggingDialog; }
  std::optional<ChildKind> ActiveChild() const override { return active; }
  bool HasChildren() const override { return active.has_value() || !live.empty(); }
  bool HasLiveWindow(LiveWindowKind kind) const override { return live.count(static_cast<int>(kind)) > 0; }
  Quantity CurrentQuantity(LiveWindowKind) const override { return quantity; }

  std::optional<int> ChoosePort() override { return port; }
  void RunAndWait(const std::function<void()>& exchange) override {
    Note("exchange");
    exchange();
    if (duringExchange) duringExchange();
  }
  void StopLiveWindows() override { Note("stop-live"); }
  void TellSensorLost(bool lost) override { Note(lost ? "lost" : "back"); }
  void OpenHistoryByDialog() override { Note("open-dialog"); }
  bool ActiveChildAgreesToClose() override {
    Note("query-close");
    return agreesToClose;
  }
  void CloseActiveChild() override { Note("close-active"); }
  bool ReplaceActiveChild(LiveWindowKind kind) override {
    Note("replace " + std::to_string(static_cast<int>(kind)));
    if (onReplace) onReplace();
    live = {static_cast<int>(kind)};
    active = kind;
    return true;
  }
  void DiscardLiveWindow(LiveWindowKind kind) override {
    Note("discard " + std::to_string(static_cast<int>(kind)));
  }
  void PresentLiveWindow(LiveWindowKind kind, int modelCode, const std::string& title) override {
    Note("present " + std::to_string(static_cast<int>(kind)) + " " + std::to_string(modelCode) + " " + title);
  }
  bool OpenSettings(int page, int subPage) override {
    Note("settings " + std::to_string(page) + " " + std::to_string(subPage));
    return settingsAccepted;
  }
  void ApplySettings(LiveWindowKind kind) override {
    Note("apply " + std::to_string(static_cast<int>(kind)));
  }
  void DownloadLogging() override { Note("download"); }
  void Arrange(Arrangement arrangement) override {
    Note("arrange " + std::to_string(static_cast<int>(arrangement)));
  }
  void PostCommand(int id) override { Note("post " + std::to_string(id)); }
  void Exit() override { Note("exit"); }

  void Note(const std::string& what) { calls.push_back(what); }
  bool Called(const std::string& what) const {
    for (const auto& call : calls)
      if (call == what) return true;
    return false;
  }

  std::set<int> creatable{0, 1, 2, 3};
  bool settingsDialog = true;
  bool loggingDialog = true;
  std::optional<ChildKind> active;
  std::set<int> live;
  Quantity quantity = kAvg;
  std::optional<int> port = 0;
  bool agreesToClose = true;
  bool settingsAccepted = true;
  std::function<void()> duringExchange;
  std::function<void()> onReplace;
  std::vector<std::string> calls;
};

class RecordingListener final : public ShellListener {
 public:
  void CommandStatesChanged() override { ++stateChanges; }
  void StatusTextChanged(int pane, const std::string& text) override { status[pane] = text; }
  void MenuSetChanged(menu::MenuKind kind) override { menus.push_back(kind); }
  void ToolBarsShown(bool shown) override { toolBars.push_back(shown); }
  void StatusBarShown(bool shown) override { statusBar.push_back(shown); }

  int stateChanges = 0;
  std::string status[2];
  std::vector<menu::MenuKind> menus;
  std::vector<bool> toolBars;
  std::vector<bool> statusBar;
};

class ShellControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/" + strings::kFileName);
  }

  bool Enabled(int id) {
    CommandState state;
    EXPECT_TRUE(shell.UpdateCommand(id, state)) << id;
    return state.enabled;
  }
  std::vector<int> EnabledModes() {
    std::vector<int> ids;
    for (int id : {cmd::kModeAvgPeak, cmd::kModeAvg, cmd::kModePeak, cmd::kModePulse, cmd::kModeCcdf,
                   cmd::kDownloadLogging})
      if (Enabled(id)) ids.push_back(id);
    return ids;
  }
  void Connect(int deviceCode, int port = 0) {
    link.deviceCode = deviceCode;
    windows.port = port;
    ASSERT_TRUE(shell.OnCommand(cmd::kConnectDevice));
  }

  test::RecordingMessageBoxes boxes;
  FakeLink link;
  MeasurementSettings settings;
  FakeWindows windows;
  RecordingListener listener;
  int owner = 0;
  ShellController shell{link, settings, windows, listener, &owner};
};

// Connect and disconnect: the states of the frame's commands, the status
// text, the boxes and what the model offers.
TEST_F(ShellControllerTest, CommandStatesFollowTheConnection) {
  EXPECT_TRUE(Enabled(cmd::kConnectDevice));
  EXPECT_FALSE(Enabled(cmd::kDisconnectDevice));
  EXPECT_FALSE(Enabled(cmd::kDeviceSetting));
  EXPECT_TRUE(EnabledModes().empty());
  CommandState state;
  EXPECT_FALSE(shell.UpdateCommand(cmd::kMeasureStart, state));  // the windows' own
  EXPECT_FALSE(shell.OnCommand(cmd::kHelp));

  Connect(kDevicePX420B);
  EXPECT_EQ(link.ports, std::vector<int>{0});
  EXPECT_EQ(settings.ModelCode(), model::kPX420B);
  EXPECT_EQ(settings.SerialNumber(), "4711");
  EXPECT_EQ(shell.ConnectionText(), "USB");
  EXPECT_FALSE(shell.SerialLink());
  EXPECT_EQ(listener.status[0], "Model: PX420B   S/N: 4711   USB");
  EXPECT_GE(listener.stateChanges, 1);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, strings::GetString("S_IDD_CONNECTED"));
  EXPECT_EQ(boxes.boxes[0].owner, &owner);
  EXPECT_FALSE(Enabled(cmd::kConnectDevice));
  EXPECT_TRUE(Enabled(cmd::kDisconnectDevice));
  EXPECT_TRUE(Enabled(cmd::kDeviceSetting));
  EXPECT_EQ(EnabledModes(),
            (std::vector<int>{cmd::kModeAvgPeak, cmd::kModePulse, cmd::kModeCcdf, cmd::kDownloadLogging}));
  // A command whose window class or dialog is missing stays off.
  windows.creatable.erase(static_cast<int>(LiveWindowKind::Pulse));
  windows.loggingDialog = false;
  windows.settingsDialog = false;
  EXPECT_EQ(EnabledModes(), (std::vector<int>{cmd::kModeAvgPeak, cmd::kModeCcdf}));
  EXPECT_FALSE(Enabled(cmd::kDeviceSetting));
  // A connect command while connected asks nothing.
  shell.OnCommand(cmd::kConnectDevice);
  EXPECT_EQ(link.ports.size(), 1u);

  const int changes = listener.stateChanges;
  shell.OnCommand(cmd::kDisconnectDevice);
  EXPECT_EQ(windows.calls.back(), "exchange");
  EXPECT_TRUE(windows.Called("stop-live"));
  EXPECT_EQ(link.disconnects, 1);
  EXPECT_EQ(listener.status[0], "");
  EXPECT_GT(listener.stateChanges, changes);
  EXPECT_EQ(boxes.boxes.back().text, strings::GetString("S_IDD_DISCONNECTED"));
  EXPECT_TRUE(Enabled(cmd::kConnectDevice));
  EXPECT_TRUE(EnabledModes().empty());

  Connect(kDevicePX430A, 12);
  EXPECT_EQ(shell.ConnectionText(), "COM12");
  EXPECT_TRUE(shell.SerialLink());
  EXPECT_EQ(EnabledModes(), std::vector<int>{cmd::kModeAvg});
}

// While an exchange runs the state from before stands; a failed or
// cancelled connect changes nothing.
TEST_F(ShellControllerTest, ExchangesAndFailedConnects) {
  bool seenDuring = true;
  windows.duringExchange = [&] { seenDuring = shell.IsConnected() || !Enabled(cmd::kConnectDevice); };
  Connect(kDevicePX420B);
  EXPECT_FALSE(seenDuring);
  EXPECT_TRUE(shell.IsConnected());
  windows.duringExchange = {};
  shell.OnCommand(cmd::kDisconnectDevice);

  windows.port.reset();  // the dialog was cancelled
  shell.OnCommand(cmd::kConnectDevice);
  EXPECT_EQ(link.ports.size(), 1u);

  boxes.boxes.clear();
  link.result = -1;
  windows.port = 0;
  settings.SetDevice(model::kPX430A, 1, 1);
  shell.OnCommand(cmd::kConnectDevice);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, strings::GetString("S_MAINFRAME_ONDEVICECONNECT"));
  EXPECT_EQ(boxes.boxes[0].type, mb::kIconError | mb::kOk);
  EXPECT_EQ(settings.ModelCode(), model::kPX430A);
  EXPECT_EQ(shell.ConnectionText(), "USB");  // from the connection before
  EXPECT_TRUE(Enabled(cmd::kConnectDevice));
}

// A lost line takes the link down and says so; the children hear it once,
// and again when a sensor is connected.
TEST_F(ShellControllerTest, LostLineAndReconnect) {
  Connect(kDevicePX420B);
  shell.LineLost();  // late: the line is fine
  EXPECT_EQ(link.disconnects, 0);
  EXPECT_FALSE(shell.SensorLost());

  link.lost = true;
  const int changes = listener.stateChanges;
  shell.LineLost();
  EXPECT_TRUE(shell.SensorLost());
  EXPECT_EQ(link.disconnects, 1);
  EXPECT_EQ(windows.calls.back(), "lost");
  EXPECT_EQ(listener.status[0], strings::GetString("S_MEASUREVIEW_SENSORLOST"));
  EXPECT_GT(listener.stateChanges, changes);
  EXPECT_TRUE(Enabled(cmd::kConnectDevice));
  EXPECT_TRUE(EnabledModes().empty());

  Connect(kDevicePX420B);
  EXPECT_FALSE(shell.SensorLost());
  EXPECT_TRUE(windows.Called("back"));
  windows.calls.clear();
  // Disconnecting ends the lost state without telling the windows again.
  link.lost = true;
  shell.LineLost();
  shell.OnCommand(cmd::kDisconnectDevice);
  EXPECT_FALSE(shell.SensorLost());
  Connect(kDevicePX420B);
  EXPECT_FALSE(windows.Called("back"));
}

// A model code outside the table keeps the mode states it had.
TEST_F(ShellControllerTest, UnknownModelKeepsTheModeStates) {
  Connect(kDevicePX420B);
  EXPECT_EQ(EnabledModes().size(), 4u);
  link.connected = false;  // gone without a query in between
  Connect(99);
  EXPECT_EQ(settings.ModelCode(), -1);
  EXPECT_EQ(EnabledModes().size(), 4u);
}

// Mode commands: the current mode, the window that closes, the window that
// opens or comes up again, and its title.
TEST_F(ShellControllerTest, ModeSwitching) {
  // Without a sensor a mode command opens nothing.
  shell.OnCommand(cmd::kModeAvgPeak);
  EXPECT_TRUE(windows.calls.empty());

  Connect(kDevicePX420B);
  windows.calls.clear();
  shell.OnCommand(cmd::kModeAvgPeak);
  EXPECT_EQ(windows.calls,
            (std::vector<std::string>{"query-close", "replace 0", "present 0 5 USB, PX420B - Power"}));
  EXPECT_EQ(shell.CurrentMode(), LiveWindowKind::Measurement);

  windows.calls.clear();
  shell.OnCommand(cmd::kModeCcdf);
  EXPECT_EQ(windows.calls,
            (std::vector<std::string>{"query-close", "replace 2", "present 2 5 USB, PX420B - CCDF",
                                      "post " + std::to_string(cmd::kDeviceSetting)}));
  EXPECT_EQ(shell.CurrentMode(), LiveWindowKind::Ccdf);

  // The same mode again brings its window up without closing anything.
  windows.calls.clear();
  shell.OnCommand(cmd::kModeCcdf);
  EXPECT_EQ(windows.calls.front(), "present 2 5 USB, PX420B - CCDF");

  // An unsaved run keeps its window, and the mode stays.
  windows.calls.clear();
  windows.agreesToClose = false;
  shell.OnCommand(cmd::kModePulse);
  EXPECT_EQ(windows.calls, std::vector<std::string>{"query-close"});
  EXPECT_EQ(shell.CurrentMode(), LiveWindowKind::Ccdf);

  // The sensor went while the old window closed: the new one goes too.
  windows.calls.clear();
  windows.agreesToClose = true;
  windows.onReplace = [this] { link.connected = false; };
  boxes.boxes.clear();
  shell.OnCommand(cmd::kModePulse);
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"query-close", "replace 1", "discard 1"}));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].owner, nullptr);
  EXPECT_EQ(boxes.boxes[0].text, strings::GetString("S_MAINFRAME_ONDEVICECONNECT"));
}

// The settings dialog opens on the page of the current mode's window.
TEST_F(ShellControllerTest, SettingsPageOfTheCurrentMode) {
  shell.OnCommand(cmd::kDeviceSetting);  // not connected
  EXPECT_TRUE(windows.calls.empty());
  Connect(kDevicePX420B);
  windows.calls.clear();
  shell.OnCommand(cmd::kDeviceSetting);  // no window yet
  EXPECT_EQ(windows.calls, std::vector<std::string>{"settings 0 0"});

  shell.OnCommand(cmd::kModePulse);
  windows.calls.clear();
  shell.OnCommand(cmd::kDeviceSetting);
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"settings 2 0", "apply 1"}));

  shell.OnCommand(cmd::kModeAvgPeak);
  windows.quantity = kPeak;
  windows.calls.clear();
  windows.settingsAccepted = false;
  shell.OnCommand(cmd::kDeviceSetting);
  EXPECT_EQ(windows.calls, std::vector<std::string>{"settings 0 1"});
}

// Which menu set shows, the tool and status bars, and the window commands.
TEST_F(ShellControllerTest, MenusBarsAndWindowCommands) {
  EXPECT_FALSE(Enabled(cmd::kFileClose));
  EXPECT_FALSE(Enabled(cmd::kWindowCascade));
  windows.active = ChildKind::History;
  shell.ChildrenChanged();
  EXPECT_EQ(listener.menus.back(), menu::MenuKind::History);
  EXPECT_EQ(shell.ShownMenu(), menu::MenuKind::History);
  EXPECT_TRUE(Enabled(cmd::kFileClose));
  EXPECT_TRUE(Enabled(cmd::kWindowTileVertical));
  windows.active = LiveWindowKind::Pulse;
  shell.ChildrenChanged();
  EXPECT_EQ(listener.menus.back(), menu::MenuKind::Measurement);
  windows.active.reset();
  shell.ChildrenChanged();
  EXPECT_EQ(listener.menus.back(), menu::MenuKind::Main);

  CommandState state;
  shell.UpdateCommand(cmd::kViewToolBar, state);
  EXPECT_TRUE(state.checked);
  shell.OnCommand(cmd::kViewToolBar);
  shell.OnCommand(cmd::kSwitchToolBar);  // hidden bars stay hidden
  EXPECT_EQ(listener.toolBars, std::vector<bool>{false});
  shell.UpdateCommand(cmd::kViewToolBar, state);
  EXPECT_FALSE(state.checked);
  shell.OnCommand(cmd::kViewToolBar);
  shell.OnCommand(cmd::kSwitchToolBar);
  EXPECT_EQ(listener.toolBars, (std::vector<bool>{false, true, true}));
  shell.OnCommand(cmd::kViewStatusBar);
  shell.UpdateCommand(cmd::kViewStatusBar, state);
  EXPECT_EQ(listener.statusBar, std::vector<bool>{false});
  EXPECT_FALSE(state.checked);

  // Close asks the active child first.
  windows.active = ChildKind::History;
  windows.agreesToClose = false;
  shell.OnCommand(cmd::kFileClose);
  EXPECT_FALSE(windows.Called("close-active"));
  windows.agreesToClose = true;
  shell.OnCommand(cmd::kFileClose);
  EXPECT_TRUE(windows.Called("close-active"));

  windows.creatable.erase(ChildKind::History.Index());
  EXPECT_FALSE(Enabled(cmd::kFileOpen));
  shell.OnCommand(cmd::kFileOpen);
  EXPECT_FALSE(windows.Called("open-dialog"));
}

}  // namespace
}  // namespace wattrix
