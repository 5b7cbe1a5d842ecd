#include "core/device/ScriptedSensor.h"

#include "core/device/SensorProtocol.h"

namespace wattrix::test {

namespace {

void AppendInt32(Bytes& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFF));
}

void PutUInt16(Bytes& out, std::size_t at, std::uint16_t value) {
  out[at] = static_cast<std::uint8_t>(value & 0xFF);
  out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace

Bytes SingleReply(char letter, std::int32_t value) {
  Bytes out{'[', static_cast<std::uint8_t>(letter), ','};
  AppendInt32(out, value);
  out.push_back(']');
  out.push_back(0x0D);
  return out;
}

Bytes AckReply() { return Bytes{'[', 'T', ',', ']', 0x0D}; }

Bytes ValueReply(char letter, const std::vector<std::int32_t>& values) {
  Bytes out{'[', static_cast<std::uint8_t>(letter), ','};
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out.push_back(',');
    AppendInt32(out, values[i]);
  }
  out.push_back(']');
  out.push_back(0x0D);
  return out;
}

Bytes CcdfBlock(std::size_t size, const std::vector<std::uint16_t>& counts) {
  Bytes out(size, 0);
  out[0] = '[';
  out[1] = 'C';
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const std::size_t section = i / 250;
    const std::size_t at = section == 0 ? 2 + 2 * i : section * 512 + 2 * (i % 250);
    if (at + 1 < size) PutUInt16(out, at, counts[i]);
  }
  return out;
}

Bytes LogReply(int blocks, const std::vector<std::uint16_t>& values) {
  Bytes out(static_cast<std::size_t>(blocks) * 512, 0);
  out[0] = '[';
  out[1] = 'D';
  std::size_t i = 0;
  for (int block = 0; block < blocks; ++block) {
    const std::size_t first = block == 0 ? 2 : 0;
    const std::size_t count = block == 0 ? 251 : 250;
    for (std::size_t j = 0; j < count && i < values.size(); ++j, ++i)
      PutUInt16(out, static_cast<std::size_t>(block) * 512 + first + 2 * j, values[i]);
  }
  return out;
}

std::int32_t FrameParameter(const Bytes& frame) {
  return frame.size() == 8 ? protocol::ReadInt32(frame.data() + 3) : 0;
}

std::string FrameCommand(const Bytes& frame) {
  return frame.size() >= 3 ? std::string{static_cast<char>(frame[1]), static_cast<char>(frame[2])}
                           : std::string{};
}

ScriptedSensor::ScriptedSensor(int deviceCode, int version, int serial)
    : m_deviceCode(deviceCode), m_version(version), m_serial(serial) {
  m_wire->SetResponder([this](const Bytes& frame, FakeWire& wire) {
    if (auto answer = Respond(frame)) wire.Push(answer->bytes, answer->delayMs);
  });
}

std::function<std::unique_ptr<CPowerDevice>(int)> ScriptedSensor::Factory() {
  return [wire = m_wire, calls = m_factoryCalls](int) -> std::unique_ptr<CPowerDevice> {
    ++*calls;
    return std::make_unique<FakePowerDevice>(wire);
  };
}

void ScriptedSensor::SetOverride(const std::string& command, Override override) {
  std::lock_guard lock(*m_overrideMutex);
  m_overrides[command] = std::move(override);
}

void ScriptedSensor::ClearOverride(const std::string& command) {
  std::lock_guard lock(*m_overrideMutex);
  m_overrides.erase(command);
}

std::optional<ScriptedSensor::Answer> ScriptedSensor::Respond(const Bytes& frame) {
  const std::string command = FrameCommand(frame);
  {
    std::lock_guard lock(*m_overrideMutex);
    const auto it = m_overrides.find(command);
    if (it != m_overrides.end()) return it->second(frame);
  }
  if (command == "GD") return Answer{SingleReply('D', m_deviceCode)};
  if (command == "GV") return Answer{SingleReply('V', m_version)};
  if (command == "GS") return Answer{SingleReply('S', m_serial)};
  if (command == "GA") return Answer{SingleReply('P', average)};
  if (command == "GF") return Answer{SingleReply('P', peak)};
  if (command == "GR") return Answer{SingleReply('P', reverse)};
  if (command == "GE") return Answer{ValueReply('P', {average, reverse})};
  if (command == "GP") return Answer{ValueReply('P', {peakValues.begin(), peakValues.end()})};
  if (command == "GU") return Answer{ValueReply('P', {pulse.begin(), pulse.end()})};
  if (command == "GK") return Answer{CcdfBlock(protocol::CcdfBlockLength(m_version), ccdfCounts)};
  if (command == "AS") return Answer{ValueReply('G', {loggingStatus.begin(), loggingStatus.end()})};
  if (command == "AD") return Answer{LogReply(FrameParameter(frame), logValues)};
  // [GC] and every set-up command are acknowledged.
  return Answer{AckReply()};
}

}  // namespace wattrix::test
