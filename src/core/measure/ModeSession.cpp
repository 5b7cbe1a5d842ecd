// The live window's life cycle: preparing for the sensor, polling, Start,
// Stop, Reset, Save and the command table.
#include "core/measure/ModeSession.h"

#include "core/device/SensorLink.h"
#include "core/device/SensorProtocol.h"
#include "core/measure/MeasurementSettings.h"
#include "core/measure/ModeSessionHost.h"
#include "core/measure/PowerDirectionWarning.h"
#include "core/measure/RunFile.h"
#include "core/platform/Beeper.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/Quantity.h"
#include "core/vocabulary/SensorModel.h"

namespace wattrix {

namespace {

constexpr int kMainLayout = 0;
constexpr int kSmallLayout = 1;

// Quantities of panels 0 to 3.
constexpr std::array<Quantity, mode_view::kPanelCount> kMeasurementPanels{kAvg, kAvg, kPeak, kVswr};
constexpr std::array<Quantity, mode_view::kPanelCount> kPulsePanels{kPulse, kPulse, kPeak, kVswr};

}  // namespace

ModeSession::ModeSession(LiveWindowKind view, MeasurementSettings& settings, SensorLink& link,
                         ModeSessionHost& host, Beeper* beeper)
    : m_view(view), m_settings(settings), m_link(link), m_host(host), m_beeper(beeper) {}

void ModeSession::SetPanels(const std::array<MeasurementPanel*, mode_view::kPanelCount>& panels) {
  m_panels = panels;
}

int ModeSession::ModelCode() const { return m_settings.ModelCode(); }

bool ModeSession::Connected() const { return m_link.IsConnected(); }

Beeper& ModeSession::AlarmBeeper() const { return m_beeper ? *m_beeper : CurrentBeeper(); }

Quantity ModeSession::FirstQuantity() const { return mode_view::FirstQuantity(m_view, ModelCode()); }

Quantity ModeSession::SelectedQuantity() const {
  return m_panelQuantity[static_cast<std::size_t>(m_selectedPanel)];
}

void ModeSession::Reinitialise() {
  const auto& quantities = m_view == LiveWindowKind::Pulse ? kPulsePanels : kMeasurementPanels;
  // The layouts start over, so the window is back in multi screen.
  m_fullScreenPanel = -1;
  for (int i = 0; i < mode_view::kPanelCount; ++i) {
    SetPanelQuantity(i, quantities[static_cast<std::size_t>(i)]);
    SetPanelLayout(i, i == 0 ? kMainLayout : kSmallLayout);
    SetPanelAlarm(i, false);
  }
  m_mainQuantity = quantities[0];
  m_topRightPanel = 1;
  RefreshPanels(PanelRefresh::All);

  const SensorModel* row = FindModelByCode(ModelCode());
  if (const auto selected =
          mode_view::InitialSelectedPanel(m_view, row ? row->quantityMask : QuantityMask())) {
    m_selectedPanel = *selected;
  }
  SetAsDefault();
  m_host.GraphShowQuantity(ModelCode(), m_mainQuantity);
  m_graphShown = mode_view::GraphShownByDefault(m_view, ModelCode());
  m_requestState = mode_view::InitialRequestState(m_view, ModelCode());
  m_host.Relayout();
}

void ModeSession::SettingsChanged() {
  RefreshPanels(PanelRefresh::All);
  m_host.GraphShowQuantity(ModelCode(), m_mainQuantity);
  m_host.GraphUpdate(false);
}

void ModeSession::Tick() {
  if (!Connected() || !m_measuring || m_link.BusyFlag()) return;
  const auto step = mode_view::NextRequest(m_view, ModelCode(), m_requestState);
  m_requestState = step.nextState;
  // A new cycle: what is derived from now on pairs with its own average.
  if (step.kind == RequestKind::Average) m_cycleAverage.reset();
  // RequestMeasurement sets BusyFlag itself, before the worker can answer.
  const MeasurementRequest request{step.kind, protocol::Times100(m_settings.Frequency()), kRequestTimeoutMs,
                                   protocol::Times100(m_settings.ExternalOffset())};
  m_link.RequestMeasurement(request, m_addressee);
}

void ModeSession::Start() {
  if (m_measuring) return;
  // Nothing would answer: the run that is there stays as it is. (The link
  // may know before the window has been told.)
  if (m_sensorLost || m_link.LineLost()) {
    m_host.ShowWarning("S_MEASUREVIEW_ONSTARTSENSORLOST");
    return;
  }
  if (HasUnsavedRun()) {
    if (m_host.AskYesNo("S_MEASUREVIEW_ONMEASURESTART")) m_host.RunSaveCommand();
  }
  m_settings.ResetHistories();
  RefreshPanels(PanelRefresh::All);
  m_host.GraphUpdate(true);

  m_measuring = true;
  m_cycleAverage.reset();
  m_link.SetBusyFlag(false);
  m_unsaved = true;

  const int model = ModelCode();
  if (m_view == LiveWindowKind::Measurement) {
    if (model != model::kPX420B && model != model::kPX430B && model != model::kPX470B) {
      m_settings.MarkStart(false);
      return;
    }
    bool sent = false;
    const int repeat = m_settings.AvgRepeat();
    m_host.RunExchange([this, &sent, repeat] { sent = m_link.SendAverageRepeat(repeat); });
    if (sent) m_settings.MarkStart(false);
    return;
  }

  bool sent = false;
  const int rate = m_settings.PulseRate();
  const int reference = m_settings.PulseReference();
  m_host.RunExchange([this, &sent, rate, reference] { sent = m_link.SendPulseAveraging(rate, reference); });
  // Not acknowledged: measuring stays on, but the start is not marked.
  if (!sent) return;
  if (model == model::kPX420B) {
    std::int32_t average = 0;
    std::int32_t reverse = 0;
    bool reversed = false;
    const std::int32_t frequency = protocol::Times100(m_settings.Frequency());
    m_host.RunExchange([&] { reversed = m_link.CheckPowerDirection(frequency, average, reverse); });
    m_host.SetWarningText(PowerDirectionWarning(reversed, average, reverse));
  }
  m_settings.MarkStart(false);
}

void ModeSession::Stop() {
  if (!m_measuring) return;
  m_settings.MarkLastReading();
  m_measuring = false;
}

void ModeSession::Close() {
  m_link.SetBusyFlag(false);
  Stop();
}

void ModeSession::Reset() {
  if (!m_host.AskYesNo("S_MEASUREVIEW_ONMEASURERESET")) return;
  m_settings.ResetHistories();
  // The peak filter's carry belongs to the run that was just cleared.
  m_link.ResetPeakCarry();
  RefreshPanels(PanelRefresh::All);
  m_host.GraphUpdate(true);
}

bool ModeSession::CanSave() const {
  return !m_measuring && m_settings.Count(FirstQuantity()) > 0 && m_unsaved;
}

bool ModeSession::ReleaseRun(const char* key) {
  if (HasUnsavedRun()) {
    const int answer = m_host.AskYesNoCancel(key);
    if (answer != ModeSessionHost::kAnswerYes && answer != ModeSessionHost::kAnswerNo) return false;
    if (m_measuring) Close();
    if (answer == ModeSessionHost::kAnswerYes) {
      m_host.RunSaveCommand();
      // The file dialog was cancelled or the write failed: the run stays.
      if (m_unsaved) return false;
    }
    return true;
  }
  // Nothing to lose, but readings must not run on into what replaces it.
  if (m_measuring) Close();
  return true;
}

void ModeSession::HistoriesReplaced() {
  m_unsaved = false;
  RefreshPanels(PanelRefresh::All);
  m_host.GraphUpdate(true);
}

bool ModeSession::SaveTo(const std::string& path) {
  // The run stays unsaved when the write failed, so that Save stays
  // enabled and Start still offers to save it.
  if (!WriteHistoryFile(path, m_settings, mode_view::SaveMask(m_view, ModelCode()), "")) return false;
  m_savedPath = path;
  m_unsaved = false;
  return true;
}

bool ModeSession::OnCommand(int id) {
  switch (id) {
    case cmd::kMeasureStart:
      Start();
      return true;
    case cmd::kMeasureStop:
      Stop();
      return true;
    case cmd::kMeasureReset:
      Reset();
      return true;
    case cmd::kFileSave:
      if (CanSave()) m_host.RunSaveCommand();
      return true;
    case cmd::kModeAbsolute:
      SetDisplayRelative(false);
      return true;
    case cmd::kModeRelative:
      SetDisplayRelative(true);
      return true;
    case cmd::kLimitCheckEnable:
      SetLimitCheck(true);
      return true;
    case cmd::kLimitCheckDisable:
      SetLimitCheck(false);
      return true;
    case cmd::kAlarmOn:
      SetAlarm(true);
      return true;
    case cmd::kAlarmOff:
      SetAlarm(false);
      return true;
    case cmd::kSetAsDefault:
      SetAsDefault();
      return true;
    case cmd::kViewFullScreen:
      FullScreen();
      return true;
    case cmd::kViewMultiScreen:
      MultiScreen();
      return true;
    case cmd::kViewHistoryGraph:
      ToggleHistoryGraph();
      return true;
    default:
      return false;
  }
}

bool ModeSession::UpdateCommand(int id, CommandState& state) const {
  // The check marks of the limit and alarm commands show the main panel's
  // quantity; the commands act on the selected panel's.
  const Quantity main = m_mainQuantity;
  switch (id) {
    case cmd::kMeasureStart:
      state = {Connected(), m_measuring};
      return true;
    case cmd::kMeasureStop:
      state = {Connected(), !m_measuring};
      return true;
    case cmd::kMeasureReset:
      state = {Connected(), false};
      return true;
    case cmd::kFileSave:
      state = {CanSave(), false};
      return true;
    case cmd::kModeAbsolute:
      state = {main != kVswr, !m_settings.Relative()};
      return true;
    case cmd::kModeRelative:
      state = {main != kVswr, m_settings.Relative()};
      return true;
    case cmd::kLimitCheckEnable:
      state = {true, m_settings.LimitCheck(main)};
      return true;
    case cmd::kLimitCheckDisable:
      state = {true, !m_settings.LimitCheck(main)};
      return true;
    case cmd::kAlarmOn:
      state = {true, m_settings.BeepAlarm(main)};
      return true;
    case cmd::kAlarmOff:
      state = {true, !m_settings.BeepAlarm(main)};
      return true;
    case cmd::kSetAsDefault:
      state = {SelectedQuantity() != main, false};
      return true;
    case cmd::kViewFullScreen:
      state = {true, m_fullScreenPanel >= 0};
      return true;
    case cmd::kViewMultiScreen:
      state = {true, m_fullScreenPanel < 0};
      return true;
    case cmd::kViewHistoryGraph:
      state = {mode_view::HistoryGraphCommandEnabled(ModelCode()), m_graphShown};
      return true;
    default:
      return false;
  }
}

}  // namespace wattrix
