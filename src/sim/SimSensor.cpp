#include "sim/SimSensor.h"

#include "core/vocabulary/SensorModel.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace wattrix::sim {

namespace {

constexpr int kCcdfSamples = 10'000;
constexpr std::int32_t kMaxLogBlocks = 1024;

// Which models answer which commands, by model code.
struct Support {
  const char* command;
  std::initializer_list<int> models;
};

const Support kSupport[] = {
    {"GA", {model::kPX420A, model::kPX430A, model::kPX440A, model::kPX470A, model::kPX430B, model::kPX470B}},
    {"GF", {model::kPX420A, model::kPX440A, model::kPX450A, model::kPX470A, model::kPX450B, model::kPX470B}},
    {"GR", {model::kPX420A, model::kPX440A}},
    {"GE", {model::kPX420B}},
    {"GP", {model::kPX420B}},
    {"GU", {model::kPX420B, model::kPX470B}},
    {"SU", {model::kPX420B, model::kPX470B}},
    {"SR", {model::kPX420B, model::kPX470B}},
    {"GC", {model::kPX420B, model::kPX470B}},
    {"GK", {model::kPX420B, model::kPX470B}},
    {"SO", {model::kPX420B, model::kPX470B}},
    {"SZ", {model::kPX420B, model::kPX430B, model::kPX470B}},
    {"ST", {model::kPX420B}},
    {"SN", {model::kPX420B}},
};

// CCDF envelope for the technology code of [SO] when none is configured.
double TechnologyPeakToAverage(int technology) {
  switch (technology) {
    case 6:
      return 9.6;  // LTE: OFDM, close to Rayleigh
    case 5:
      return 9.6;  // WiMAX
    case 2:
      return 8.5;  // WCDMA
    case 4:
      return 8.0;  // TDS-CDMA
    case 1:
      return 7.5;  // CDMA
    case 7:
      return 7.0;  // EV-DO
    case 3:
      return 0.05;  // GSM: constant envelope
    default:
      return 9.64;
  }
}

struct CcdfBins {
  std::size_t count;
  double firstDbm;
  double stepDb;
};

CcdfBins BinsOf(std::size_t blockSize) {
  if (blockSize == 1536) return {frames::CcdfCountsIn(blockSize), 0.0, 0.1};
  return {frames::CcdfCountsIn(blockSize), 21.76, 0.01};
}

}  // namespace

SimSensor::SimSensor(SimConfig config)
    : m_config(config), m_signals(config.signals, config.faults.seed), m_faults(config.faults) {
  const auto* row = FindModelByCode(config.modelCode);
  m_deviceCode = row ? row->deviceCode : 0;
  const auto start = std::chrono::steady_clock::now();
  m_clock = [start] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
}

void SimSensor::SetClock(Clock clock) { m_clock = std::move(clock); }

double SimSensor::SimulatedSeconds() const { return m_clock() * m_signals.Signals().timeScale; }

bool SimSensor::Answers(int modelCode, std::string_view command) {
  if (!FindModelByCode(modelCode)) return false;
  if (command == "GD" || command == "GV" || command == "GS") return true;
  if (command.size() == 2 && command[0] == 'A') return modelCode == model::kPX420B;
  for (const auto& s : kSupport) {
    if (command == s.command) return std::find(s.models.begin(), s.models.end(), modelCode) != s.models.end();
  }
  return false;
}

std::size_t SimSensor::CcdfBlockSize(int firmwareVersion) {
  if (firmwareVersion >= 291 && firmwareVersion <= 294) return 7680;
  return firmwareVersion > 294 ? 1536 : 6144;
}

void SimSensor::Feed(const std::uint8_t* data, std::size_t count, std::vector<SimReply>& replies) {
  m_parser.Feed(data, count);
  Command command;
  while (m_parser.Next(command)) {
    if (!m_faults.CountExchange()) continue;
    auto answer = Answer(command);
    if (!answer) continue;
    SimReply reply{std::move(*answer), 0};
    if (m_faults.Apply(reply.bytes, reply.delayMs)) replies.push_back(std::move(reply));
  }
}

std::optional<Bytes> SimSensor::Answer(const Command& c) {
  const auto name = c.Name();
  if (!Answers(m_config.modelCode, name)) return std::nullopt;
  m_log.Advance(SimulatedSeconds(), [this](int item) { return LogSample(item); });
  const std::int32_t p = c.parameter;
  if (c.Is("GD")) return frames::Values('D', {m_deviceCode});
  if (c.Is("GV")) return frames::Values('V', {m_config.firmwareVersion});
  if (c.Is("GS")) return frames::Values('S', {m_config.serialNumber});
  if (c.Is("GA")) return frames::Values('P', {m_signals.Average()});
  if (c.Is("GF")) return frames::Values('P', {m_signals.Peak()});
  if (c.Is("GR")) return frames::Values('P', {m_signals.Reverse()});
  if (c.Is("GE")) {
    const auto average = m_signals.Average();
    return frames::Values('P', {average, m_signals.Reverse()});
  }
  if (c.Is("GP")) {
    const auto series = m_signals.PeakSeries();
    return frames::Values('P', std::span<const std::int32_t>(series));
  }
  if (c.Is("GU")) {
    const auto pulse = m_signals.Pulse(m_timebase);
    return frames::Values('P', std::span<const std::int32_t>(pulse));
  }
  if (c.Is("GK")) return CcdfAnswer();
  if (c.Is("AS")) {
    const auto status = m_log.Status();
    return frames::Values('G', std::span<const std::int32_t>(status));
  }
  if (c.Is("AD")) {
    if (p < 1 || p > kMaxLogBlocks) return std::nullopt;
    return LogAnswer(p);
  }
  // Everything else is a setting, acknowledged.
  if (c.Is("SO")) m_technology = p;
  if (c.Is("SU")) m_timebase = (p == 1 || p == 2 || p == 4 || p == 8 || p == 16) ? p : 1;
  if (c.Is("SR")) m_log.SetReference(p);
  if (c.Is("AE")) m_log.SetOffset(p);
  if (c.Is("AF")) m_log.SetFrequency(p);
  if (c.Is("AM")) m_log.SetItems(p);
  if (c.Is("AI")) m_log.SetInterval(p);
  if (c.Is("AN")) m_log.SetSampleTarget(p);
  if (c.Is("AU")) m_log.SetAveraging(p);
  if (c.Is("AR")) {
    if (p == 0) {
      m_log.StopAndClear();
    } else {
      m_log.Start(SimulatedSeconds());
    }
  }
  if (c.Is("AO")) m_log.Clear();
  return frames::Ack();
}

double SimSensor::CcdfPeakToAverage() const {
  const double configured = m_signals.Signals().ccdfPeakToAverageDb;
  return std::isnan(configured) ? TechnologyPeakToAverage(m_technology) : configured;
}

Bytes SimSensor::CcdfAnswer() {
  const auto blockSize = CcdfBlockSize(m_config.firmwareVersion);
  const auto bins = BinsOf(blockSize);
  const double par = CcdfPeakToAverage();
  double average = m_signals.Signals().ccdfAverageDbm;
  if (std::isnan(average)) {
    // The forward power, kept where the bins hold both tails of the sweep.
    const double last = bins.firstDbm + bins.stepDb * static_cast<double>(bins.count - 1);
    const double low = bins.firstDbm + 12.0;
    const double high = std::max(low, last - par - 2.0);
    average = std::clamp(m_signals.Signals().forwardDbm, low, high);
  }
  const auto counts = m_signals.CcdfSweep(kCcdfSamples, bins.count, bins.firstDbm, bins.stepDb, average, par);
  return frames::CcdfBlock(blockSize, counts);
}

std::int32_t SimSensor::LogSample(int item) {
  switch (item) {
    case 0x02:
      return m_signals.Peak();
    case 0x04:
      return m_signals.Reverse();
    case 0x08:
      return m_signals.Pulse(m_timebase)[0];
    default:
      return m_signals.Average();
  }
}

Bytes SimSensor::LogAnswer(std::int32_t blocks) {
  return frames::LogBlocks(static_cast<std::size_t>(blocks), m_log.Values());
}

}  // namespace wattrix::sim
