// The one-shot commands of SensorLink.
#include "core/device/ReplyParser.h"
#include "core/device/SensorLink.h"
#include "core/device/SensorProtocol.h"
#include "core/vocabulary/SensorModel.h"

namespace wattrix {

using protocol::kAckTimeoutMs;
using protocol::kLongAckTimeoutMs;
using protocol::kShortAckTimeoutMs;

bool SensorLink::SendTechnology(int technologyIndex) {
  return m_channel.CommandAck('S', 'O', protocol::TechnologyCode(technologyIndex), kShortAckTimeoutMs);
}

bool SensorLink::CheckPowerDirection(std::int32_t frequency100, std::int32_t& average,
                                     std::int32_t& reverse) {
  std::array<std::int32_t, 2> pair{};
  {
    const auto io = m_channel.Lock();
    std::array<std::int32_t, 2> values{};
    if (m_channel.SendLocked(protocol::MakeFrame('G', 'E', frequency100)) &&
        m_channel.ReadBlockLocked(protocol::kTwoValueLength, kShortAckTimeoutMs) &&
        protocol::ParseValueFrame(m_channel.DataLocked(), m_channel.ReceivedLocked(), 'P',
                                  protocol::kTwoValueLength, values.data()) == protocol::FrameCheck::kOk) {
      m_channel.SetPowerPairLocked(values);
    }
    m_channel.ConsumeLocked();
    // A failed read keeps the previous pair, as the comparison always has.
    pair = m_channel.PowerPairLocked();
  }
  average = pair[0];
  reverse = pair[1];
  return average < reverse;
}

bool SensorLink::CheckPowerDirection(std::int32_t frequency100) {
  std::int32_t average = 0;
  std::int32_t reverse = 0;
  return CheckPowerDirection(frequency100, average, reverse);
}

bool SensorLink::SendPulseAveraging(int rateIndex, int reference) {
  // Both are sent even when the first is not acknowledged.
  const bool rate = m_channel.CommandAck('S', 'U', protocol::AveragingCode(rateIndex), kAckTimeoutMs);
  const bool ref =
      m_channel.CommandAck('S', 'R', protocol::PulseReferenceParameter(reference), kAckTimeoutMs);
  return rate && ref;
}

bool SensorLink::SendAverageRepeat(int repeat) {
  if (ModelCode() != model::kPX420B) return m_channel.CommandAck('S', 'Z', repeat, kAckTimeoutMs);
  bool ok = m_channel.CommandAck('S', 'T', protocol::kTriggerParameter, kAckTimeoutMs);
  ok = m_channel.CommandAck('S', 'N', protocol::kSampleParameter, kAckTimeoutMs) && ok;
  ok = m_channel.CommandAck('S', 'Z', repeat, kAckTimeoutMs) && ok;
  ok = m_channel.CommandAck('S', 'O', 0, kAckTimeoutMs) && ok;
  return ok;
}

bool SensorLink::ConfigureLogging(std::int32_t frequency100, QuantityMask items, int intervalSeconds,
                                  int sampleCount, int /*unused1*/, int /*unused2*/, int averagingIndex,
                                  int reference, std::int32_t offset100, int technologyIndex) {
  struct Step {
    char first;
    char second;
    std::int32_t parameter;
  };
  const std::array<Step, 10> steps{{
      {'A', 'E', offset100},
      {'A', 'F', protocol::WholeMHzFromFrequency100(frequency100)},
      {'A', 'M', items.Bits()},
      {'A', 'I', intervalSeconds},
      {'A', 'N', sampleCount},
      {'A', 'T', protocol::kTriggerParameter},
      {'S', 'N', protocol::kSampleParameter},
      {'A', 'U', protocol::AveragingCode(averagingIndex)},
      {'S', 'R', protocol::PulseReferenceParameter(reference)},
      {'A', 'R', 1},
  }};
  // Every command goes out even after a failed acknowledge.
  bool ok = true;
  for (const auto& step : steps)
    ok = m_channel.CommandAck(step.first, step.second, step.parameter, kShortAckTimeoutMs) && ok;
  ok = m_channel.CommandAck('S', 'O', protocol::TechnologyCode(technologyIndex), kAckTimeoutMs) && ok;
  return ok;
}

bool SensorLink::SetLoggingRun(int value) { return m_channel.CommandAck('A', 'R', value, kLongAckTimeoutMs); }

bool SensorLink::ClearLoggingMemory() { return m_channel.CommandAck('A', 'O', 1, kLongAckTimeoutMs); }

bool SensorLink::ReadLoggingStatus() {
  std::array<std::int32_t, kLoggingStatusCount> values{};
  protocol::FrameCheck check = protocol::FrameCheck::kShortOrUntagged;
  {
    const auto io = m_channel.Lock();
    if (m_channel.SendLocked(protocol::kLoggingStatusFrame) &&
        m_channel.ReadBlockLocked(protocol::kElevenValueLength, kLongAckTimeoutMs)) {
      check = protocol::ParseValueFrame(m_channel.DataLocked(), m_channel.ReceivedLocked(), 'G',
                                        protocol::kElevenValueLength, values.data());
    }
    m_channel.ConsumeLocked();
  }
  if (check == protocol::FrameCheck::kShortOrUntagged) return false;
  std::lock_guard state(m_stateMutex);
  // A bad closing still stores the values (the caller may show them) but
  // reports failure.
  m_loggingStatus = values;
  return check == protocol::FrameCheck::kOk;
}

}  // namespace wattrix
