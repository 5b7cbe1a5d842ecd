#include "core/ccdf/CcdfSession.h"

#include "core/ccdf/CcdfSessionHost.h"
#include "core/device/SensorLink.h"
#include "core/device/SensorProtocol.h"
#include "core/measure/MeasurementSettings.h"
#include "core/measure/PowerDirectionWarning.h"
#include "core/vocabulary/CommandIds.h"
#include "core/vocabulary/Quantity.h"
#include "core/vocabulary/SensorModel.h"

namespace wattrix {

CcdfSession::CcdfSession(MeasurementSettings& settings, SensorLink& link, CcdfSessionHost& host)
    : m_settings(settings), m_link(link), m_host(host) {
  ResetCcdf();
}

bool CcdfSession::Connected() const { return m_link.IsConnected(); }

std::int32_t CcdfSession::Frequency100() const { return protocol::Times100(m_settings.Frequency()); }

bool CcdfSession::Tick() {
  if (!Connected() || !m_running || m_link.BusyFlag()) return false;
  // A refused request leaves BusyFlag clear: the next tick tries again.
  const MeasurementRequest request{RequestKind::Ccdf, Frequency100(), kRequestTimeoutMs,
                                   protocol::Times100(m_settings.ExternalOffset())};
  return m_link.RequestMeasurement(request, m_addressee);
}

void CcdfSession::StartCcdf() {
  if (m_running) return;
  ResetCcdf();
  m_running = true;
  m_link.SetBusyFlag(false);

  bool acknowledged = false;
  const int technology = m_settings.Technology();
  m_host.RunExchange([&] { acknowledged = m_link.SendTechnology(technology); });
  // Not acknowledged: the measurement runs, but without start mark or
  // direction check.
  if (!acknowledged) return;

  if (m_settings.ModelCode() == model::kPX420B) {
    std::int32_t average = 0;
    std::int32_t reverse = 0;
    bool wrongWay = false;
    m_host.RunExchange([&] { wrongWay = m_link.CheckPowerDirection(Frequency100(), average, reverse); });
    m_host.SetWarningText(PowerDirectionWarning(wrongWay, average, reverse));
  }
  m_settings.MarkStart(false);
}

void CcdfSession::StopCcdf() {
  if (!m_running) return;
  m_settings.MarkLastReading();
  m_running = false;
}

void CcdfSession::ResetCcdf() {
  m_data.Reset();
  m_processed = 0;
  m_panels = BuildPanelItems();
}

void CcdfSession::Close() {
  m_link.SetBusyFlag(false);
  StopCcdf();
}

void CcdfSession::OnReading(const Reading& reading) {
  if (reading.kind != RequestKind::Ccdf) return;  // not this window's request
  const bool answered = reading.Answered();
  m_data.SetSweepWindowFromRate(m_settings.CcdfRate());
  // The sweep that fills the window ends a single measurement and is still
  // processed below. A failed exchange brings no sweep, so it cannot.
  if (answered && m_settings.SingleSweep() && m_data.CompletesWindow()) StopCcdf();

  // A delivery for a request this window no longer waits for is dropped.
  if (!m_link.BusyFlag()) return;
  // Nothing is stored from a failed exchange, but the flag is cleared
  // either way so that the next tick asks again instead of the window
  // waiting for good.
  if (answered && m_data.ProcessSweep(reading.Histogram(), m_settings.Technology()) ==
                      CcdfAccumulator::SweepResult::Processed) {
    ++m_processed;
    m_host.RefreshCcdfViews();
  }
  m_link.SetBusyFlag(false);
}

CcdfPanelContext CcdfSession::PanelContext() const {
  return CcdfPanelContext{m_settings, m_data.Statistics(), m_data.StoredSweeps(),
                          Connected() ? m_link.DeviceCode() : -1};
}

bool CcdfSession::OnCommand(int id) {
  switch (id) {
    case cmd::kMeasureStart:
      if (Connected()) StartCcdf();
      return true;
    case cmd::kMeasureStop:
      if (Connected()) StopCcdf();
      return true;
    case cmd::kMeasureReset:
      if (Connected() && m_host.AskYesNo("S_MEASUREVIEW_ONMEASURERESET")) ResetCcdf();
      return true;
    case cmd::kModeAbsolute:
    case cmd::kModeRelative:
    case cmd::kLimitCheckEnable:
    case cmd::kLimitCheckDisable:
    case cmd::kAlarmOn:
    case cmd::kAlarmOff:
    case cmd::kSetAsDefault:
    case cmd::kViewFullScreen:
    case cmd::kViewMultiScreen:
    case cmd::kViewHistoryGraph:
    case cmd::kFileSave:
      // Shown in the shared menus, but the CCDF window has nothing to do.
      return true;
    default:
      return false;
  }
}

bool CcdfSession::UpdateCommand(int id, CommandState& state) const {
  const bool connected = Connected();
  switch (id) {
    case cmd::kMeasureStart:
      state = {connected, connected && m_running};
      return true;
    case cmd::kMeasureStop:
      state = {connected, connected && !m_running};
      return true;
    case cmd::kMeasureReset:
      state = {connected, false};
      return true;
    case cmd::kDeviceSetting:
    case cmd::kSetAsDefault:
      state = {true, false};
      return true;
    case cmd::kModeAbsolute:
      state = {true, !m_settings.Relative()};
      return true;
    case cmd::kModeRelative:
      state = {true, m_settings.Relative()};
      return true;
    case cmd::kLimitCheckEnable:
      state = {true, m_settings.LimitCheck(kCcdf)};
      return true;
    case cmd::kLimitCheckDisable:
      state = {true, !m_settings.LimitCheck(kCcdf)};
      return true;
    case cmd::kAlarmOn:
      state = {true, m_settings.BeepAlarm(kCcdf)};
      return true;
    case cmd::kAlarmOff:
      state = {true, !m_settings.BeepAlarm(kCcdf)};
      return true;
    case cmd::kViewFullScreen:
    case cmd::kViewMultiScreen:
    case cmd::kViewHistoryGraph:
    case cmd::kFileSave:
      state = {false, false};
      return true;
    default:
      return false;
  }
}

}  // namespace wattrix
