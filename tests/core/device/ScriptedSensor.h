#pragma once

#include "core/device/FakePowerDevice.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wattrix::test {

// Reply encoders.
Bytes SingleReply(char letter, std::int32_t value);
Bytes AckReply();
Bytes ValueReply(char letter, const std::vector<std::int32_t>& values);
// A "[C" block of `size` bytes with `counts` at the count positions.
Bytes CcdfBlock(std::size_t size, const std::vector<std::uint16_t>& counts);
// A "[D" reply of `blocks` blocks with `values` at the value positions.
Bytes LogReply(int blocks, const std::vector<std::uint16_t>& values);
// The 32-bit parameter of an 8-byte frame.
std::int32_t FrameParameter(const Bytes& frame);
// The two command letters of a frame ("GA", "SO", …).
std::string FrameCommand(const Bytes& frame);

// A sensor on a FakeWire that answers every command of the protocol with
// plausible bytes. Tests change what it says per command: an override
// returns the reply (or nothing, for silence) and its delay.
class ScriptedSensor final {
 public:
  struct Answer {
    Bytes bytes;
    int delayMs = 0;
  };
  using Override = std::function<std::optional<Answer>(const Bytes& frame)>;

  ScriptedSensor(int deviceCode, int version, int serial);

  std::shared_ptr<FakeWire> Wire() const { return m_wire; }
  // A factory for SensorLink that hands out a device on this wire and
  // counts the calls.
  std::function<std::unique_ptr<CPowerDevice>(int)> Factory();
  int FactoryCalls() const { return *m_factoryCalls; }

  void SetOverride(const std::string& command, Override override);
  void ClearOverride(const std::string& command);

  // Default answers.
  std::int32_t average = 4000;
  std::int32_t reverse = 1000;
  std::int32_t peak = 4500;
  std::array<std::int32_t, 11> peakValues{4500, 4400, 4300, 4200, 4100, 4000, 3900, 3800, 3700, 3600, 3500};
  std::array<std::int32_t, 5> pulse{4100, 10, 20, 30, 4};
  std::array<std::int32_t, 11> loggingStatus{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  std::vector<std::uint16_t> ccdfCounts{5000, 0, 5000};  // one sweep: 10,000 samples
  std::vector<std::uint16_t> logValues;

 private:
  std::optional<Answer> Respond(const Bytes& frame);

  int m_deviceCode;
  int m_version;
  int m_serial;
  std::shared_ptr<FakeWire> m_wire = std::make_shared<FakeWire>();
  std::shared_ptr<int> m_factoryCalls = std::make_shared<int>(0);
  std::shared_ptr<std::mutex> m_overrideMutex = std::make_shared<std::mutex>();
  std::map<std::string, Override> m_overrides;
};

}  // namespace wattrix::test
