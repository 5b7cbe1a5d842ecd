#pragma once

#include "core/vocabulary/ReplyKind.h"
#include "core/vocabulary/RequestKind.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace wattrix {

namespace protocol {

constexpr std::uint8_t kCR = 0x0D;

// Reply lengths of the fixed shapes.
constexpr std::size_t kAckLength = 5;
constexpr std::size_t kSingleLength = 9;
constexpr std::size_t kTwoValueLength = 14;
constexpr std::size_t kFiveValueLength = 29;
constexpr std::size_t kElevenValueLength = 59;
constexpr std::size_t kLogBlockLength = 512;

// Time-outs of the one-shot commands, in milliseconds.
constexpr int kIdentifyTimeoutMs = 2000;
constexpr int kShortAckTimeoutMs = 500;
constexpr int kAckTimeoutMs = 2000;
constexpr int kLongAckTimeoutMs = 10000;
constexpr int kCcdfGateTimeoutMs = 10000;

// The constants the sensor expects with [AT], [ST] and [SN].
constexpr std::int32_t kTriggerParameter = 8;
constexpr std::int32_t kSampleParameter = 2000;

using Frame = std::array<std::uint8_t, 8>;
using ShortFrame = std::array<std::uint8_t, 4>;

// "[", two letters, the parameter as 4 little-endian bytes, "]".
Frame MakeFrame(char first, char second, std::int32_t parameter);
// "[", two letters, "]".
ShortFrame MakeShortFrame(char first, char second);
// The 5-byte logging-status query: "[AS]" and a backslash.
constexpr std::array<std::uint8_t, 5> kLoggingStatusFrame{'[', 'A', 'S', ']', '\\'};

// Signed 32-bit little-endian value at `data`.
inline std::int32_t ReadInt32(const std::uint8_t* data) {
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
      static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24);
}
inline std::uint16_t ReadUInt16(const std::uint8_t* data) {
  return static_cast<std::uint16_t>(data[0] | data[1] << 8);
}

// Sensor code of a TECH index ("LTE" … "etc"); 0 for "etc" and unknown.
std::int32_t TechnologyCode(int technologyIndex);
// Sensor code of an averaging list index: 1, 2, 4, 8, else 16.
std::int32_t AveragingCode(int index);
// Pulse power reference below the peak in 0.01 dB: |reference| held in
// 400..1000, 600 for 0 (automatic).
std::int32_t PulseReferenceParameter(int reference);
// A value × 100 truncated toward zero (frequency in MHz, offset in dB),
// held within the 32-bit range.
std::int32_t Times100(double value);
// Whole MHz × 100, as the logging set-up sends the frequency.
std::int32_t WholeMHzTimes100(double megahertz);
// The same from an already scaled frequency (MHz × 100).
inline std::int32_t WholeMHzFromFrequency100(std::int32_t frequency100) { return frequency100 / 100 * 100; }

// The CCDF block the firmware sends in answer to [GK], and how long it may take.
std::size_t CcdfBlockLength(int firmwareVersion);
int CcdfTimeoutMs(int firmwareVersion);

// Version number as shown: a point before the last two digits (291 → "2.91").
std::string VersionText(int versionNumber);

}  // namespace protocol
}  // namespace wattrix
