#pragma once

#include "core/ccdf/CcdfAccumulator.h"
#include "core/ccdf/CcdfPanels.h"
#include "core/device/DeliveryHandle.h"
#include "core/device/ReadingSink.h"
#include "core/vocabulary/CommandState.h"

#include <array>
#include <memory>

namespace wattrix {

class CcdfSessionHost;
class MeasurementSettings;
class SensorLink;

// The logic of the CCDF window: the measuring flag, the request cycle,
// Start, Stop and Reset, the processing of each delivered sweep, the
// panels' item lists and the commands of the window's menus. The Qt frame
// and the command-line tool both drive it; it owns no widget and reaches
// the views through CcdfSessionHost.
//
// Threads: every member runs on the owner's thread, OnReading too: the
// owner gives the session a delivery handle whose receiver hands each
// Reading over to the owner's thread and passes it on unchanged.
class CcdfSession final : public ReadingSink {
 public:
  static constexpr int kTimerId = 1235;
  static constexpr int kTimerIntervalMs = 20;
  static constexpr int kRequestTimeoutMs = 500;
  // The graph's fixed ranges: 0 to 20 dB above the average, 100 % down to
  // 0.01 % (log10 of the fraction).
  static constexpr float kGraphXFrom = 0.0f;
  static constexpr float kGraphXTo = 20.0f;
  static constexpr float kGraphYFirst = 0.0f;
  static constexpr float kGraphYSecond = -4.0f;

  CcdfSession(MeasurementSettings& settings, SensorLink& link, CcdfSessionHost& host);

  // Where the sweeps of the session's requests are delivered; set by the
  // owner before the first Tick, revoked by it before the session goes.
  void SetAddressee(std::shared_ptr<DeliveryHandle> addressee) { m_addressee = std::move(addressee); }
  // The 20 ms timer: one CCDF request when connected, running and
  // BusyFlag is clear; true when a request went out.
  bool Tick();

  void StartCcdf();
  void StopCcdf();
  // Empties sweeps, merged histogram and curve, zeroes the statistics and
  // rebuilds the panels' items; the running state and the views stay.
  void ResetCcdf();
  // The window closes: no delivery is awaited any more, and the
  // measurement stops.
  void Close();

  // A sweep read by the acquisition thread (answered), or a failed
  // exchange, on the owner's thread.
  void OnReading(const Reading& reading) override;

  // Commands of the window's menus and context menu (CommandIds.h). False
  // for a command the window leaves to the main frame (Setting) or does
  // not know.
  bool OnCommand(int id);
  bool UpdateCommand(int id, CommandState& state) const;

  bool Running() const { return m_running; }
  // Sweeps processed since the last reset (empty and failed ones are not).
  int SweepsProcessed() const { return m_processed; }
  const CcdfAccumulator& Data() const { return m_data; }
  const CcdfStatistics& Statistics() const { return m_data.Statistics(); }
  const std::array<PanelItems, kCcdfPanelCount>& Panels() const { return m_panels; }
  // What the panels print besides their labels, read at paint time.
  CcdfPanelContext PanelContext() const;

 private:
  bool Connected() const;
  std::int32_t Frequency100() const;

  MeasurementSettings& m_settings;
  SensorLink& m_link;
  CcdfSessionHost& m_host;
  CcdfAccumulator m_data;
  std::array<PanelItems, kCcdfPanelCount> m_panels;
  bool m_running = false;
  int m_processed = 0;
  std::shared_ptr<DeliveryHandle> m_addressee;
};

}  // namespace wattrix
