#include "core/device/SensorProtocol.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace wattrix::protocol {

Frame MakeFrame(char first, char second, std::int32_t parameter) {
  const auto bits = static_cast<std::uint32_t>(parameter);
  return Frame{'[',
               static_cast<std::uint8_t>(first),
               static_cast<std::uint8_t>(second),
               static_cast<std::uint8_t>(bits & 0xFF),
               static_cast<std::uint8_t>((bits >> 8) & 0xFF),
               static_cast<std::uint8_t>((bits >> 16) & 0xFF),
               static_cast<std::uint8_t>((bits >> 24) & 0xFF),
               ']'};
}

ShortFrame MakeShortFrame(char first, char second) {
  return ShortFrame{'[', static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(second), ']'};
}

std::int32_t TechnologyCode(int technologyIndex) {
  switch (technologyIndex) {
    case 0:
      return 6;
    case 1:
      return 2;
    case 2:
      return 1;
    case 3:
      return 5;
    case 4:
      return 4;
    case 5:
      return 7;
    case 6:
      return 3;
    default:
      return 0;
  }
}

std::int32_t AveragingCode(int index) {
  switch (index) {
    case 0:
      return 1;
    case 1:
      return 2;
    case 2:
      return 4;
    case 3:
      return 8;
    default:
      return 16;
  }
}

std::int32_t PulseReferenceParameter(int reference) {
  if (reference == 0) return 600;
  // In 64 bits so that the most negative int has a magnitude too.
  const long long magnitude = std::llabs(static_cast<long long>(reference));
  if (magnitude < 400) return 400;
  if (magnitude > 1000) return 1000;
  return static_cast<std::int32_t>(magnitude);
}

std::int32_t Times100(double value) {
  const double scaled = std::trunc(value * 100.0);
  // NaN and values beyond the field would be undefined as a conversion.
  if (!(scaled == scaled)) return 0;
  if (scaled >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (scaled <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(scaled);
}

std::int32_t WholeMHzTimes100(double megahertz) { return Times100(std::trunc(megahertz)); }

std::size_t CcdfBlockLength(int firmwareVersion) {
  if (firmwareVersion >= 291 && firmwareVersion <= 294) return 7680;
  if (firmwareVersion > 294) return 1536;
  return 6144;
}

int CcdfTimeoutMs(int firmwareVersion) { return CcdfBlockLength(firmwareVersion) == 1536 ? 10000 : 50000; }

std::string VersionText(int versionNumber) {
  const std::string digits = std::to_string(versionNumber);
  if (digits.size() <= 2) return digits;
  const std::size_t cut = digits.size() - 2;
  return digits.substr(0, cut) + "." + digits.substr(cut);
}

}  // namespace wattrix::protocol
