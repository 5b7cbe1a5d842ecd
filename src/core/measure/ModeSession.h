#pragma once

#include "core/device/DeliveryHandle.h"
#include "core/device/ReadingSink.h"
#include "core/measure/MeasurementPanel.h"
#include "core/measure/ModeViewRules.h"
#include "core/vocabulary/CommandState.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace wattrix {

class Beeper;
class MeasurementSettings;
class ModeSessionHost;
class SensorLink;

// Where the four panels and the graph of a live window sit in its client
// area (w × h); an empty rectangle (width or height ≤ 0) hides the child.
struct ModeArrangement {
  struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool Visible() const { return width > 0 && height > 0; }
    friend bool operator==(const Rect&, const Rect&) = default;
  };
  std::array<Rect, mode_view::kPanelCount> panels{};
  Rect graph{};
  friend bool operator==(const ModeArrangement&, const ModeArrangement&) = default;
};

// The logic of a live measurement window (AVG / PEAK / AVG & PEAK, or
// PULSE): main quantity, selected and full-screen panel, measuring and
// unsaved flags, the request cycle, the reading operations with offset,
// corrections, VSWR/PAR derivation and limit checks, and the commands of
// the window's menus. The Qt view and the command-line tool both drive it;
// it owns no widget and reaches the panels through MeasurementPanel and
// the rest through ModeSessionHost.
//
// Threads: every member runs on the owner's thread, OnReading too: the
// owner gives the session a delivery handle whose receiver hands each
// Reading over to the owner's thread and passes it on to the session
// unchanged (the GUI by a queued call, the CLI by its loop).
class ModeSession final : public ReadingSink {
 public:
  static constexpr int kTimerIntervalMs = 20;
  static constexpr int kRequestTimeoutMs = 500;

  // `beeper` null: the process-wide beeper.
  ModeSession(LiveWindowKind view, MeasurementSettings& settings, SensorLink& link, ModeSessionHost& host,
              Beeper* beeper = nullptr);

  LiveWindowKind View() const { return m_view; }
  // The four panels, index 0 the main panel; set once before Reinitialise.
  void SetPanels(const std::array<MeasurementPanel*, mode_view::kPanelCount>& panels);

  // The window is shown for the connected sensor: panel quantities and
  // layouts, selection, "Set as default", graph quantity and visibility,
  // request state, relayout. The owner then opens the settings dialog.
  void Reinitialise();
  // The settings dialog was closed with OK: refresh panels (kind 0) and
  // the graph's quantity.
  void SettingsChanged();

  // Where the readings of the session's requests are delivered; set by
  // the owner before the first Tick, revoked by it before the session goes.
  void SetAddressee(std::shared_ptr<DeliveryHandle> addressee) { m_addressee = std::move(addressee); }
  // The 20 ms timer: one request when connected, measuring and BusyFlag
  // is clear.
  void Tick();

  // The reading operation, on the owner's thread: a reading nobody waits
  // for any more is dropped; otherwise it is stored when answered, and
  // BusyFlag is cleared either way so that the next tick asks again.
  void OnReading(const Reading& reading) override;

  // Commands of the window's menus, tool bar and context menu (command
  // ids of CommandIds.h): Start, Stop, Reset, absolute/relative, limit
  // check, alarm, Set as default, full/multi screen, history graph, Save.
  // False for a command the session does not handle.
  bool OnCommand(int id);
  bool UpdateCommand(int id, CommandState& state) const;

  // Starts a run; refused with a warning while the sensor is lost.
  void Start();
  void Stop();
  // The window closes: BusyFlag cleared (a reply still under way is
  // dropped), then Stop.
  void Close();
  // Asks "S_MEASUREVIEW_ONMEASURERESET"; on yes empties the histories.
  void Reset();
  // Save's enabling: not measuring, a run exists and it is unsaved.
  bool CanSave() const;
  // Before the histories are replaced from outside the window (a log
  // download): an unsaved run is offered for saving with `key` (yes saves,
  // no discards, cancel keeps it); measuring stops. False when the run is
  // to stay: the user cancelled, or the save did not happen.
  bool ReleaseRun(const char* key);
  // The histories now hold what replaced the run: panels and graph start
  // over, and there is no unsaved run of this window any more.
  void HistoriesReplaced();
  // A run with readings that has not been saved (measuring or not).
  bool HasUnsavedRun() const;
  // Before the window closes (close, mode switch, exit): an unsaved run is
  // saved, discarded or kept by the user's answer. True when the window
  // may close; false (cancel, or a save that did not happen) keeps it.
  bool ConfirmClose();
  // The link reported the line gone: measuring stops and Start is refused
  // until SensorBack (a sensor connected again).
  void SensorLost();
  void SensorBack() { m_sensorLost = false; }
  bool IsSensorLost() const { return m_sensorLost; }
  // Writes the run with the window's quantity mask; on success remembers
  // the path and clears unsaved. False when the write failed (the owner
  // shows "S_MEASUREVIEW_ONFILESAVE").
  bool SaveTo(const std::string& path);
  const std::string& SavedPath() const { return m_savedPath; }

  // Mouse: a left or right click on a panel selects it when the model
  // allows; false when nothing changed. A double click does what the
  // window does (multi screen, Set as default or full screen).
  bool SelectPanel(int panel);
  void DoubleClickPanel(int panel);

  // Red value text of the panels showing `quantity` after a stored value;
  // true when out of limit with limit check and beep alarm on.
  bool ShowLimitState(Quantity quantity, float value);

  // The placement of the children for a client area of w × h.
  ModeArrangement Arrangement(int width, int height) const;
  // Below this height the grid's cells give way to one row of panels.
  static constexpr int kMinGridCellHeight = 150;

  bool Measuring() const { return m_measuring; }
  bool Unsaved() const { return m_unsaved; }
  Quantity MainQuantity() const { return m_mainQuantity; }
  int SelectedPanel() const { return m_selectedPanel; }
  // The panel shown alone, −1 in multi screen.
  int FullScreenPanel() const { return m_fullScreenPanel; }
  bool GraphShown() const { return m_graphShown; }
  RequestKind RequestState() const { return m_requestState; }
  // The quantity whose history decides whether a run exists.
  Quantity FirstQuantity() const;
  // The quantity of the selected panel (the settings dialog's range page).
  Quantity SelectedQuantity() const;
  // The quantity panel `panel` shows and its alarm state, as the session
  // last set them (also without panel objects, as in the command-line tool).
  std::optional<Quantity> PanelQuantity(int panel) const;
  bool PanelAlarm(int panel) const;

 private:
  ModeArrangement RowArrangement(int width, int height) const;
  // The answered reading by its kind, after the single-measurement stop.
  void TakeReading(const Reading& reading);
  void TakeAverage(std::int32_t power);
  void TakePeak(std::int32_t power);
  void TakeReverse(std::int32_t power);
  void TakeAverageReverse(std::int32_t forward, std::int32_t reverse);
  void TakePulse(const Reading& reading);
  // Panels and graph after a stored reading.
  void EndReading();
  // Drops a reading whose pair average of the same cycle is missing; true.
  bool RefuseOutOfStep();
  // AddReading, BeepIfOutOfLimit and ShowLimitState of one value.
  void Store(Quantity quantity, float value);
  void RefreshPanels(PanelRefresh kind);
  void SetAsDefault();
  void FullScreen();
  void MultiScreen();
  void ToggleHistoryGraph();
  void SetDisplayRelative(bool relative);
  void SetLimitCheck(bool on);
  void SetAlarm(bool on);
  int ModelCode() const;
  bool Connected() const;
  // Panel 0 takes the quantity and alarm state of `panel`; the graph
  // follows. False when it already showed that quantity.
  bool TakeMainQuantity(int panel);
  void SetPanelQuantity(int panel, Quantity quantity);
  void SetPanelLayout(int panel, int layout);
  void SetPanelAlarm(int panel, bool on);
  bool PanelVisible(int panel) const;
  Beeper& AlarmBeeper() const;

  LiveWindowKind m_view;
  MeasurementSettings& m_settings;
  SensorLink& m_link;
  ModeSessionHost& m_host;
  Beeper* m_beeper;
  std::array<MeasurementPanel*, mode_view::kPanelCount> m_panels{};
  // Which small panel sits top-right (the one showing the main quantity);
  // the other two fill the bottom row in index order.
  int m_topRightPanel = 1;
  std::array<Quantity, mode_view::kPanelCount> m_panelQuantity{};
  std::array<bool, mode_view::kPanelCount> m_panelAlarm{};

  Quantity m_mainQuantity = kAvg;
  int m_fullScreenPanel = -1;
  int m_selectedPanel = 1;
  bool m_graphShown = false;
  bool m_measuring = false;
  bool m_unsaved = false;
  bool m_sensorLost = false;
  RequestKind m_requestState = RequestKind::AverageReverse;
  // The average stored in the current request cycle, if any.
  std::optional<float> m_cycleAverage;
  std::string m_savedPath;
  std::shared_ptr<DeliveryHandle> m_addressee;
};

}  // namespace wattrix
