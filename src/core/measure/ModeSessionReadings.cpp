// The live window's reading operations: offset, corrections, VSWR and PAR,
// limit checks, and the BusyFlag hand-over.
#include "core/device/SensorLink.h"
#include "core/measure/Limits.h"
#include "core/measure/MeasurementSettings.h"
#include "core/measure/ModeSession.h"
#include "core/measure/ModeSessionHost.h"
#include "core/measure/ReadingMath.h"
#include "core/strings/StringTable.h"
#include "core/vocabulary/Quantity.h"
#include "core/vocabulary/SensorModel.h"

namespace wattrix {

void ModeSession::OnReading(const Reading& reading) {
  // An answer nobody waits for any more (the window stopped, or started
  // again, since it was asked for) is dropped.
  if (!m_link.BusyFlag()) return;
  // Nothing is stored from a failed answer, but the next tick must ask
  // again: left set, the flag would end the measurement for good.
  if (reading.Answered()) TakeReading(reading);
  m_link.SetBusyFlag(false);
}

void ModeSession::TakeReading(const Reading& reading) {
  // A single measurement ends with the first answer that is stored.
  if (m_settings.SingleSweep() && m_measuring) {
    m_settings.MarkLastReading();
    m_measuring = false;
    m_host.CommandStatesChanged();
  }
  switch (reading.kind) {
    case RequestKind::Average:
      return TakeAverage(reading.Value(0));
    case RequestKind::Peak:
      return TakePeak(reading.Value(0));
    case RequestKind::Reverse:
      return TakeReverse(reading.Value(0));
    case RequestKind::AverageReverse:
      return TakeAverageReverse(reading.Value(0), reading.Value(1));
    case RequestKind::Pulse:
      return TakePulse(reading);
    case RequestKind::Ccdf:
      break;  // not a live window's request
  }
}

void ModeSession::EndReading() {
  RefreshPanels(PanelRefresh::Values);
  m_host.GraphUpdate(false);
}

void ModeSession::Store(Quantity quantity, float value) {
  m_settings.AddReading(quantity, value);
  BeepIfOutOfLimit(m_settings, quantity, value, AlarmBeeper());
  ShowLimitState(quantity, value);
}

bool ModeSession::ShowLimitState(Quantity quantity, float value) {
  const int panel = mode_view::PanelOfQuantity(m_view, quantity);
  if (panel < 0) return false;
  const bool alarm = m_settings.LimitCheck(quantity) && m_settings.BeepAlarm(quantity) &&
                     IsOutOfLimit(m_settings, quantity, value);
  SetPanelAlarm(panel, alarm);
  if (m_mainQuantity == quantity) SetPanelAlarm(0, alarm);
  return alarm;
}

bool ModeSession::RefuseOutOfStep() {
  // VSWR and PAR pair a reading with the average of the same cycle; when
  // that average was lost, an older one would give a wrong ratio (and
  // none at all gives VSWR 65). The reading goes with it, so that the
  // paired histories stay row by row, and the next tick asks again.
  m_link.NoteRejected();
  return true;
}

void ModeSession::TakeAverage(std::int32_t power) {
  const float average = reading_math::WithOffset(power, m_settings.ExternalOffset());
  Store(kAvg, average);
  m_cycleAverage = average;
  EndReading();
}

void ModeSession::TakePeak(std::int32_t power) {
  const bool par = CarriesPar(ModelCode());
  if (par && !m_cycleAverage && RefuseOutOfStep()) return;
  const float peak = reading_math::WithOffset(power, m_settings.ExternalOffset());
  Store(kPeak, peak);
  if (par) {
    Store(kVswr, reading_math::Par(peak, *m_cycleAverage));
    m_cycleAverage.reset();  // the cycle ends here
  }
  EndReading();
}

void ModeSession::TakeReverse(std::int32_t power) {
  if (!m_cycleAverage && RefuseOutOfStep()) return;
  const float reverse = reading_math::WithOffset(power, m_settings.ExternalOffset());
  // Reverse power itself is not checked against its limits.
  m_settings.AddReading(kRev, reverse);
  Store(kVswr, reading_math::VswrFromReadings(*m_cycleAverage, reverse));
  m_cycleAverage.reset();  // the cycle ends here
  EndReading();
}

void ModeSession::TakeAverageReverse(std::int32_t forward, std::int32_t reverse) {
  const double frequency = m_settings.Frequency();
  const int technology = m_settings.Technology();
  const double offset = m_settings.ExternalOffset();
  const double pf = forward / 100.0;
  const double pr = reverse / 100.0;
  const double correctedForward = pf - reading_math::AverageTechnologyCorrection(technology, frequency, pf);
  const double correctedReverse = pr - reading_math::AverageTechnologyCorrection(technology, frequency, pr);

  Store(kAvg, static_cast<float>(correctedForward + offset));
  m_settings.AddReading(kRev, static_cast<float>(correctedReverse + offset));
  // VSWR comes from the raw difference: the corrections would cancel.
  Store(kVswr, reading_math::VswrFromRaw(forward, reverse));
  EndReading();

  m_host.SetWarningText(correctedForward < correctedReverse ? strings::GetString("S_SETTING_WARNING_POWER")
                                                            : std::string());
}

void ModeSession::TakePulse(const Reading& reading) {
  // The five [GU] values: the pulse power, three counts, the time base.
  const std::int32_t power = reading.Value(0);
  const std::int32_t c1 = reading.Value(1);
  const std::int32_t c2 = reading.Value(2);
  const std::int32_t c3 = reading.Value(3);
  const std::int32_t timebase = reading.Value(4);
  const double pulse =
      reading_math::PulseCorrected(m_settings.Technology(), m_settings.Frequency(), power / 100.0);
  Store(kPulse, static_cast<float>(pulse + m_settings.ExternalOffset()));
  m_settings.SetDutyCycle(reading_math::DutyCyclePercent(m_settings.PulseDuty(), c1, c2));
  m_settings.SetBurstWidth(reading_math::BurstWidth(c1, c3, timebase));
  EndReading();
}

}  // namespace wattrix
