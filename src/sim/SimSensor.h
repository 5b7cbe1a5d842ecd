#pragma once

#include "sim/CommandParser.h"
#include "sim/FaultInjector.h"
#include "sim/LogMemory.h"
#include "sim/ReplyFrames.h"
#include "sim/SignalGenerator.h"
#include "sim/SimConfig.h"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace wattrix::sim {

// One reply and how long after its command it goes out.
struct SimReply {
  Bytes bytes;
  int delayMs = 0;
};

// The simulated sensor: takes the bytes the host writes and answers every
// command its model knows with the frame the protocol fixes. It knows the
// protocol from the wire only. A command the model does not know gets no
// answer, as a real sensor's silence ends in the host's time-out.
class SimSensor final {
 public:
  // Monotonic seconds; logging runs on it, scaled by the time scale.
  using Clock = std::function<double()>;

  explicit SimSensor(SimConfig config);

  void SetClock(Clock clock);
  // Bytes from the host, in any pieces; the replies (after faults) are
  // appended in order.
  void Feed(const std::uint8_t* data, std::size_t count, std::vector<SimReply>& replies);
  // The answer to one command before faults; none when the model has no
  // answer for it.
  std::optional<Bytes> Answer(const Command& command);

  // Whether a model answers a command (two letters, e.g. "GA").
  static bool Answers(int modelCode, std::string_view command);
  // CCDF block size for a firmware version: 291..294 7680, above 294
  // 1536, below 291 6144 bytes.
  static std::size_t CcdfBlockSize(int firmwareVersion);

  bool HungUp() const { return m_faults.HungUp(); }
  int Exchanges() const { return m_faults.Exchanges(); }
  const SimConfig& Config() const { return m_config; }
  SimSignals& Signals() { return m_signals.MutableSignals(); }
  const LogMemory& Log() const { return m_log; }
  double SimulatedSeconds() const;
  // Last [SO] parameter and the pulse timebase code from [SU].
  int TechnologyCode() const { return m_technology; }
  int TimebaseCode() const { return m_timebase; }

 private:
  Bytes CcdfAnswer();
  Bytes LogAnswer(std::int32_t blocks);
  double CcdfPeakToAverage() const;
  std::int32_t LogSample(int item);

  SimConfig m_config;
  SignalGenerator m_signals;
  FaultInjector m_faults;
  CommandParser m_parser;
  LogMemory m_log;
  Clock m_clock;
  int m_deviceCode = 0;
  int m_technology = 0;
  int m_timebase = 1;
};

}  // namespace wattrix::sim
