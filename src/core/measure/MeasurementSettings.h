#pragma once

#include "core/vocabulary/Quantity.h"
#include "core/measure/QuantityHistory.h"
#include "core/measure/QuantitySettings.h"

#include <array>
#include <cstdint>
#include <string>

namespace wattrix {

struct SensorModel;

// The one record of the measuring side: identity of the connected sensor,
// the user's choices for it, display range, limits and alarm per quantity,
// the logging set-up and the reading buffers of the running measurement.
// Its persistent part lives in a settings file per sensor model
// ("<model>.ini" in the settings folder).
class MeasurementSettings final {
 public:
  using Clock = std::int64_t (*)();

  MeasurementSettings();
  // Writes the settings file of the current model when the owner asked for
  // it (the desktop application does; the command-line tool never does).
  ~MeasurementSettings();
  MeasurementSettings(const MeasurementSettings&) = delete;
  MeasurementSettings& operator=(const MeasurementSettings&) = delete;

  void SetSaveOnDestroy(bool on) { m_saveOnDestroy = on; }
  bool SaveOnDestroy() const { return m_saveOnDestroy; }
  // Folder of the settings files; defaults to HostPaths::SettingsDir().
  void SetSettingsDirectory(std::string dir) { m_settingsDir = std::move(dir); }
  std::string SettingsFilePath(const std::string& modelName) const;
  // Source of "now" in seconds since 1970 (tests fix it).
  void SetClock(Clock clock) { m_clock = clock; }

  // Header fields.
  QuantityMask LoggingItems() const { return m_loggingItems; }
  void SetLoggingItems(QuantityMask v) { m_loggingItems = v; }
  int LoggingInterval() const { return m_loggingInterval; }
  void SetLoggingInterval(int v) { m_loggingInterval = v; }
  int LoggingRunTime() const { return m_loggingRunTime; }
  void SetLoggingRunTime(int v) { m_loggingRunTime = v; }
  float DutyCycle() const { return m_dutyCycle; }
  void SetDutyCycle(float v) { m_dutyCycle = v; }
  float BurstWidth() const { return m_burstWidth; }
  void SetBurstWidth(float v) { m_burstWidth = v; }
  int PulseDuty() const { return m_pulseDuty; }
  void SetPulseDuty(int v) { m_pulseDuty = v; }
  int PulseReference() const { return m_pulseReference; }
  void SetPulseReference(int v) { m_pulseReference = v; }
  int AvgRate() const { return m_avgRate; }
  void SetAvgRate(int v) { m_avgRate = v; }
  int AvgRepeat() const { return m_avgRepeat; }
  void SetAvgRepeat(int v) { m_avgRepeat = v; }
  int Technology() const { return m_technology; }
  void SetTechnology(int v) { m_technology = v; }
  int PeakRate() const { return m_peakRate; }
  void SetPeakRate(int v) { m_peakRate = v; }
  int PulseRate() const { return m_pulseRate; }
  void SetPulseRate(int v) { m_pulseRate = v; }
  int CcdfRate() const { return m_ccdfRate; }
  void SetCcdfRate(int v) { m_ccdfRate = v; }
  bool SingleSweep() const { return m_singleSweep; }
  void SetSingleSweep(bool v) { m_singleSweep = v; }
  int Decimals() const { return m_decimals; }
  void SetDecimals(int v) { m_decimals = v; }
  int ModelCode() const { return m_modelCode; }
  void SetModelCode(int v) { m_modelCode = v; }
  const std::string& SerialNumber() const { return m_serialNumber; }
  void SetSerialNumber(std::string v) { m_serialNumber = std::move(v); }
  const std::string& FirmwareVersion() const { return m_firmwareVersion; }
  void SetFirmwareVersion(std::string v) { m_firmwareVersion = std::move(v); }
  float Frequency() const { return m_frequency; }
  void SetFrequency(float v) { m_frequency = v; }
  float ExternalOffset() const { return m_externalOffset; }
  void SetExternalOffset(float v) { m_externalOffset = v; }
  bool Relative() const { return m_relative; }
  // Switching the display mode restarts first/min/max of the power
  // histories (not of VSWR/PAR); the readings stay.
  void SetRelative(bool on);

  // Per-quantity settings (quantity 0..5; others are ignored or give 0).
  float DisplayLow(Quantity q) const;
  float DisplayHigh(Quantity q) const;
  void SetDisplayRange(Quantity q, float low, float high);
  float LowLimit(Quantity q) const;
  float HighLimit(Quantity q) const;
  void SetLimits(Quantity q, float low, float high);
  bool LimitCheck(Quantity q) const;
  void SetLimitCheck(Quantity q, bool on);
  bool BeepAlarm(Quantity q) const;
  void SetBeepAlarm(Quantity q, bool on);
  int BeepKind(Quantity q) const;
  void SetBeepKind(Quantity q, int kind);
  const QuantitySettings& Settings(Quantity q) const;

  // A sensor connected: stores its identity and loads its settings file,
  // or applies the model's default ranges when the file cannot be used.
  void SetDevice(int modelCode, int serialNumber, int versionNumber);
  bool LoadSettingsFile(const std::string& modelName);
  bool SaveSettingsFile(const std::string& modelName) const;
  // Display range and limits of all six quantities from the model's row.
  void ApplyModelRanges(const SensorModel& row);

  std::string ModelName() const;
  // Localised "directional"/"terminating" text of the model, or empty.
  std::string SensorTypeText() const;
  // Text of the technology setting ("LTE-TDD" … "etc"), empty when unknown.
  std::string TechnologyText() const;

  // Reading buffers (quantity 0..4).
  bool AddReading(Quantity q, float value);
  float LastReading(Quantity q) const;
  const float* GetReadings(Quantity q, int& count) const;
  float First(Quantity q) const;
  float Min(Quantity q) const;
  float Max(Quantity q) const;
  int Count(Quantity q) const;
  float Average(Quantity q);
  void ResetHistories();
  void MarkStart(bool resetFirst);
  void MarkLastReading();
  std::int64_t StartTime() const { return m_startTime; }
  std::int64_t LastReadingTime() const { return m_lastReadingTime; }
  void SetStartTime(std::int64_t t) { m_startTime = t; }
  void SetLastReadingTime(std::int64_t t) { m_lastReadingTime = t; }

 private:
  std::int64_t Now() const { return m_clock(); }

  QuantityMask m_loggingItems = mask::kAvg | mask::kPeak | mask::kRev | mask::kPulse;
  int m_loggingInterval = 40;
  int m_loggingRunTime = 150;
  float m_dutyCycle = 0;
  float m_burstWidth = 0;
  int m_pulseDuty = 0;
  int m_pulseReference = 0;
  int m_avgRate = 0;
  int m_avgRepeat = 1;
  int m_technology = 7;
  int m_peakRate = 0;
  int m_pulseRate = 0;
  int m_ccdfRate = 2;
  bool m_singleSweep = false;
  int m_decimals = 2;
  int m_modelCode = 5;
  std::string m_serialNumber;
  std::string m_firmwareVersion;
  float m_frequency = 2400;
  float m_externalOffset = 0;
  bool m_relative = false;
  std::array<QuantitySettings, kQuantityCount> m_quantities{};
  std::array<QuantityHistory, kHistoryCount> m_histories;
  std::int64_t m_startTime = 0;
  std::int64_t m_lastReadingTime = 0;

  bool m_saveOnDestroy = false;
  std::string m_settingsDir;
  Clock m_clock;
};

}  // namespace wattrix
