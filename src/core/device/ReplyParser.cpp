#include "core/device/ReplyParser.h"

#include "core/device/SensorProtocol.h"

namespace wattrix::protocol {

namespace {

bool HasTag(const std::uint8_t* data, std::size_t count, char letter) {
  return count >= 3 && data[0] == '[' && data[1] == static_cast<std::uint8_t>(letter) && data[2] == ',';
}

ReplyKind KindOfLetter(std::uint8_t letter) {
  switch (letter) {
    case 'P':
    case 'W':
      return ReplyKind::Measurement;
    case 'V':
      return ReplyKind::FirmwareVersion;
    case 'S':
      return ReplyKind::SerialNumber;
    case 'D':
      return ReplyKind::DeviceCode;
    default:
      return ReplyKind::None;
  }
}

}  // namespace

SingleReply ParseSingleReply(const std::uint8_t* data, std::size_t count) {
  if (data == nullptr || count >= kOverrunCount) return {};
  // Resynchronise on the opening bracket.
  while (count > 0 && data[0] != '[') {
    ++data;
    --count;
  }
  if (count == 0) return {};

  if (HasTag(data, count, 'T') && count > 4) {
    if (data[3] == ']' && data[4] == kCR) return {ReplyKind::Acknowledge, 0};
    return {};
  }
  if (count <= 8 || data[2] != ',') return {};
  const ReplyKind kind = KindOfLetter(data[1]);
  if (kind == ReplyKind::None) return {};
  if (data[7] != ']' || data[8] != kCR) return {};
  return {kind, ReadInt32(data + 3)};
}

FrameCheck ParseValueFrame(const std::uint8_t* data, std::size_t count, char tag, std::size_t length,
                           std::int32_t* values) {
  if (data == nullptr || length < 9 || count < length || !HasTag(data, count, tag))
    return FrameCheck::kShortOrUntagged;
  const std::size_t n = ValueCount(length);
  for (std::size_t i = 0; i < n; ++i) values[i] = ReadInt32(data + 3 + 5 * i);
  if (data[length - 2] != ']' || data[length - 1] != kCR) return FrameCheck::kBadClose;
  return FrameCheck::kOk;
}

}  // namespace wattrix::protocol
