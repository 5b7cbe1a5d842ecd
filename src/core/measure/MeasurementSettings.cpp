#include "core/measure/MeasurementSettings.h"

#include "core/vocabulary/SensorModel.h"
#include "core/platform/HostPaths.h"
#include "core/platform/IniFile.h"
#include "core/platform/NumberText.h"
#include "core/strings/StringTable.h"

#include <ctime>

namespace wattrix {

namespace {

std::int64_t SystemNow() { return static_cast<std::int64_t>(std::time(nullptr)); }

// Always with a decimal point, whatever the user's locale.
std::string FormatFloat(float v) { return FormatC("%16.8f", static_cast<double>(v)); }

std::string FormatInt(int v) { return std::to_string(v); }

// Decimal text-to-number conversion of a value read as text: leading blanks
// skipped, text that is not a number (or out of the float range) gives 0.
float ReadFloat(const IniFile& file, const char* section, const char* key) {
  return ParseFloat(file.ReadString(section, key));
}

const QuantitySettings kNoSettings{};

// Keys of a quantity's range/limit block, in the order they are written.
void WriteRangeKeys(IniFile& file, const char* section, const QuantitySettings& s) {
  file.Write(section, "MINDISP", FormatFloat(s.displayLow));
  file.Write(section, "MAXDISP", FormatFloat(s.displayHigh));
  file.Write(section, "MINLIMIT", FormatFloat(s.lowLimit));
  file.Write(section, "MAXLIMIT", FormatFloat(s.highLimit));
  file.Write(section, "ENABLELIMIT", FormatInt(s.limitCheck ? 1 : 0));
  file.Write(section, "BEEPALARM", FormatInt(s.beepAlarm ? 1 : 0));
  file.Write(section, "BEEP", FormatInt(s.beepKind));
}

void ReadRangeKeys(const IniFile& file, const char* section, QuantitySettings& s) {
  s.displayLow = ReadFloat(file, section, "MINDISP");
  s.displayHigh = ReadFloat(file, section, "MAXDISP");
  s.lowLimit = ReadFloat(file, section, "MINLIMIT");
  s.highLimit = ReadFloat(file, section, "MAXLIMIT");
  s.limitCheck = file.ReadInt(section, "ENABLELIMIT") != 0;
  s.beepAlarm = file.ReadInt(section, "BEEPALARM") != 0;
  s.beepKind = file.ReadInt(section, "BEEP");
}

QuantitySettings FromRange(const SensorModel::Range& range) {
  QuantitySettings s;
  s.displayLow = s.lowLimit = static_cast<float>(range.low);
  s.displayHigh = s.highLimit = static_cast<float>(range.high);
  return s;
}

}  // namespace

MeasurementSettings::MeasurementSettings() : m_clock(&SystemNow) {
  // The initial model (PX420B) gives the ranges of the five measured
  // quantities; the CCDF block starts all zero.
  const auto* row = FindModelByCode(m_modelCode);
  for (const Quantity q : HistoryQuantities()) m_quantities[Index(q)] = FromRange(row->ranges[Index(q)]);
}

MeasurementSettings::~MeasurementSettings() {
  if (m_saveOnDestroy) SaveSettingsFile(ModelName());
}

std::string MeasurementSettings::SettingsFilePath(const std::string& modelName) const {
  const auto dir = m_settingsDir.empty() ? HostPaths::SettingsDir() : m_settingsDir;
  return dir + "/" + modelName + ".ini";
}

void MeasurementSettings::SetRelative(bool on) {
  if (on != m_relative) {
    for (const Quantity q : {kAvg, kRev, kPeak, kPulse}) m_histories[Index(q)].Restart();
  }
  m_relative = on;
}

float MeasurementSettings::DisplayLow(Quantity q) const { return Settings(q).displayLow; }
float MeasurementSettings::DisplayHigh(Quantity q) const { return Settings(q).displayHigh; }
float MeasurementSettings::LowLimit(Quantity q) const { return Settings(q).lowLimit; }
float MeasurementSettings::HighLimit(Quantity q) const { return Settings(q).highLimit; }
bool MeasurementSettings::LimitCheck(Quantity q) const { return Settings(q).limitCheck; }
bool MeasurementSettings::BeepAlarm(Quantity q) const { return Settings(q).beepAlarm; }
int MeasurementSettings::BeepKind(Quantity q) const { return Settings(q).beepKind; }

const QuantitySettings& MeasurementSettings::Settings(Quantity q) const {
  return HasSettingsBlock(q) ? m_quantities[Index(q)] : kNoSettings;
}

void MeasurementSettings::SetDisplayRange(Quantity q, float low, float high) {
  if (!HasSettingsBlock(q)) return;
  m_quantities[Index(q)].displayLow = low;
  m_quantities[Index(q)].displayHigh = high;
}

void MeasurementSettings::SetLimits(Quantity q, float low, float high) {
  if (!HasSettingsBlock(q)) return;
  m_quantities[Index(q)].lowLimit = low;
  m_quantities[Index(q)].highLimit = high;
}

void MeasurementSettings::SetLimitCheck(Quantity q, bool on) {
  if (HasSettingsBlock(q)) m_quantities[Index(q)].limitCheck = on;
}

void MeasurementSettings::SetBeepAlarm(Quantity q, bool on) {
  if (HasSettingsBlock(q)) m_quantities[Index(q)].beepAlarm = on;
}

void MeasurementSettings::SetBeepKind(Quantity q, int kind) {
  if (HasSettingsBlock(q)) m_quantities[Index(q)].beepKind = kind;
}

void MeasurementSettings::SetDevice(int modelCode, int serialNumber, int versionNumber) {
  m_modelCode = modelCode;
  m_serialNumber = std::to_string(serialNumber);
  const auto digits = std::to_string(versionNumber);
  const auto cut = digits.size() > 2 ? digits.size() - 2 : digits.size();
  m_firmwareVersion = digits.size() > 2 ? digits.substr(0, cut) + "." + digits.substr(cut) : digits;
  if (LoadSettingsFile(ModelName())) return;
  if (const auto* row = FindModelByCode(modelCode)) ApplyModelRanges(*row);
}

void MeasurementSettings::ApplyModelRanges(const SensorModel& row) {
  for (const Quantity q : AllQuantities()) m_quantities[Index(q)] = FromRange(row.ranges[Index(q)]);
}

bool MeasurementSettings::LoadSettingsFile(const std::string& modelName) {
  const auto file = IniFile::Load(SettingsFilePath(modelName));
  const auto device = file.ReadString("HEADER", "DEVICE");
  if (device.empty() || device != modelName) return false;

  m_frequency = ReadFloat(file, "HEADER", "FREQUENCY");
  m_externalOffset = ReadFloat(file, "HEADER", "EXTOFFSET");
  m_relative = file.ReadInt("HEADER", "RELATIVE") != 0;
  m_singleSweep = file.ReadInt("HEADER", "SWEEP") != 0;
  m_decimals = file.ReadInt("HEADER", "DECIMAL");
  m_technology = file.ReadInt("HEADER", "TECH");
  m_avgRate = file.ReadInt("AVG", "RATE");
  m_avgRepeat = file.ReadInt("AVG", "REPEAT");
  m_peakRate = file.ReadInt("PEAK", "RATE");
  m_pulseRate = file.ReadInt("PULSE", "RATE");
  m_pulseDuty = file.ReadInt("PULSE", "DUTY");
  m_pulseReference = file.ReadInt("PULSE", "REFERENCE");
  m_ccdfRate = file.ReadInt("CCDF", "RATE");
  for (const Quantity q : AllQuantities()) ReadRangeKeys(file, QuantitySection(q), m_quantities[Index(q)]);
  m_loggingItems = QuantityMask(file.ReadInt("LOGGING", "ITEMS"));
  m_loggingInterval = file.ReadInt("LOGGING", "INTERVAL");
  m_loggingRunTime = file.ReadInt("LOGGING", "RUNTIME");
  return true;
}

bool MeasurementSettings::SaveSettingsFile(const std::string& modelName) const {
  const auto path = SettingsFilePath(modelName);
  auto file = IniFile::Load(path);
  file.Write("HEADER", "DEVICE", modelName);
  file.Write("HEADER", "FREQUENCY", FormatFloat(m_frequency));
  file.Write("HEADER", "EXTOFFSET", FormatFloat(m_externalOffset));
  file.Write("HEADER", "RELATIVE", FormatInt(m_relative ? 1 : 0));
  file.Write("HEADER", "SWEEP", FormatInt(m_singleSweep ? 1 : 0));
  file.Write("HEADER", "DECIMAL", FormatInt(m_decimals));
  file.Write("HEADER", "TECH", FormatInt(m_technology));

  file.Write("AVG", "RATE", FormatInt(m_avgRate));
  file.Write("AVG", "REPEAT", FormatInt(m_avgRepeat));
  WriteRangeKeys(file, "AVG", m_quantities[Index(kAvg)]);
  WriteRangeKeys(file, "REV", m_quantities[Index(kRev)]);
  WriteRangeKeys(file, "VSWR", m_quantities[Index(kVswr)]);
  file.Write("PEAK", "RATE", FormatInt(m_peakRate));
  WriteRangeKeys(file, "PEAK", m_quantities[Index(kPeak)]);
  file.Write("PULSE", "RATE", FormatInt(m_pulseRate));
  file.Write("PULSE", "DUTY", FormatInt(m_pulseDuty));
  file.Write("PULSE", "REFERENCE", FormatInt(m_pulseReference));
  WriteRangeKeys(file, "PULSE", m_quantities[Index(kPulse)]);
  file.Write("CCDF", "RATE", FormatInt(m_ccdfRate));
  WriteRangeKeys(file, "CCDF", m_quantities[Index(kCcdf)]);

  file.Write("LOGGING", "ITEMS", FormatInt(m_loggingItems.Bits()));
  file.Write("LOGGING", "INTERVAL", FormatInt(m_loggingInterval));
  file.Write("LOGGING", "RUNTIME", FormatInt(m_loggingRunTime));
  return file.Save(path);
}

std::string MeasurementSettings::ModelName() const { return ModelNameByCode(m_modelCode); }

std::string MeasurementSettings::SensorTypeText() const {
  const auto* row = FindModelByCode(m_modelCode);
  if (!row) return {};
  if (row->sensorKind == sensor_kind::kDirectional) return strings::GetString("S_MEASUREVIEW_DIRECTIONAL");
  if (row->sensorKind == sensor_kind::kTerminating) return strings::GetString("S_MEASUREVIEW_TERMINATING");
  return {};
}

std::string MeasurementSettings::TechnologyText() const {
  constexpr const char* kTexts[] = {"LTE-TDD", "WCDMA", "CDMA", "WiMAX", "TDS-CDMA", "EV-DO", "GSM", "etc"};
  return m_technology >= 0 && m_technology < 8 ? kTexts[m_technology] : "";
}

bool MeasurementSettings::AddReading(Quantity q, float value) {
  if (!HasReadingBuffer(q)) return true;
  if (!m_histories[Index(q)].Add(value)) return false;
  m_lastReadingTime = Now();
  return true;
}

float MeasurementSettings::LastReading(Quantity q) const {
  if (!HasReadingBuffer(q)) return DisplayLow(q);
  const auto& h = m_histories[Index(q)];
  return h.Count() > 0 ? h.Readings()[h.Count() - 1] : DisplayLow(q);
}

const float* MeasurementSettings::GetReadings(Quantity q, int& count) const {
  if (!HasReadingBuffer(q)) {
    count = 0;
    return nullptr;
  }
  count = m_histories[Index(q)].Count();
  return m_histories[Index(q)].Readings();
}

float MeasurementSettings::First(Quantity q) const {
  return HasReadingBuffer(q) ? m_histories[Index(q)].First() : 0.0f;
}
float MeasurementSettings::Min(Quantity q) const {
  return HasReadingBuffer(q) ? m_histories[Index(q)].Min() : 0.0f;
}
float MeasurementSettings::Max(Quantity q) const {
  return HasReadingBuffer(q) ? m_histories[Index(q)].Max() : 0.0f;
}
int MeasurementSettings::Count(Quantity q) const {
  return HasReadingBuffer(q) ? m_histories[Index(q)].Count() : 0;
}

float MeasurementSettings::Average(Quantity q) {
  if (!HasReadingBuffer(q)) return 0.0f;
  return static_cast<float>(m_histories[Index(q)].ComputeAverage(IsPowerQuantity(q)));
}

void MeasurementSettings::ResetHistories() {
  for (auto& h : m_histories) h.Reset();
}

void MeasurementSettings::MarkStart(bool resetFirst) {
  if (resetFirst) ResetHistories();
  m_startTime = Now();
}

void MeasurementSettings::MarkLastReading() { m_lastReadingTime = Now(); }

}  // namespace wattrix
