// Feeds arbitrary bytes to every reply parser of the sensor protocol.
#include "core/device/PeakFilter.h"
#include "core/device/ReplyParser.h"
#include "core/device/SensorProtocol.h"

#include <array>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wattrix::protocol;
  const auto single = ParseSingleReply(data, size);
  const int kind = static_cast<int>(single.kind);
  if (kind < static_cast<int>(wattrix::ReplyKind::None) ||
      kind > static_cast<int>(wattrix::ReplyKind::Acknowledge))
    __builtin_trap();

  std::array<std::int32_t, 11> values{};
  for (std::size_t length : {kTwoValueLength, kFiveValueLength, kElevenValueLength}) {
    for (char tag : {'P', 'G'}) {
      const auto check = ParseValueFrame(data, size, tag, length, values.data());
      if (check == FrameCheck::kOk && (data[length - 2] != ']' || data[length - 1] != kCR)) __builtin_trap();
    }
  }
  if (ParseValueFrame(data, size, 'P', kElevenValueLength, values.data()) == FrameCheck::kOk) {
    PeakCarry carry = kInitialPeakCarry;
    PeakValues peak{};
    for (std::size_t i = 0; i < peak.size(); ++i) peak[i] = values[i];
    (void)ApplyPeakFilter(peak, carry);
  }
  return 0;
}
