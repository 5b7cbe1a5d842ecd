#pragma once

#include "core/vocabulary/ReplyKind.h"

#include <cstddef>
#include <cstdint>

namespace wattrix::protocol {

// Received counts at or above this are taken as an overrun and dropped.
constexpr std::size_t kOverrunCount = 262143;

// Result of a single-value or acknowledge parse. `kind` is
// None when the bytes are not a recognised reply.
struct SingleReply {
  ReplyKind kind = ReplyKind::None;
  std::int32_t value = 0;
};

// Parses "[T," "]" CR, or "[" letter "," value "]" CR with the letters P, W
// (measurement), V, S or D. Leading bytes before the first "[" are skipped;
// the tag must start the remaining bytes.
SingleReply ParseSingleReply(const std::uint8_t* data, std::size_t count);

// Outcome of checking a multi-value frame of a fixed length.
enum class FrameCheck {
  kShortOrUntagged,  // fewer bytes than the shape, or the tag is not at the start
  kBadClose,         // tag right, but "]" CR are not the last two bytes
  kOk,
};

// Checks "[" tag "," v "," v … "]" CR of `length` bytes (14, 29 or 59) and
// takes its (length - 4) / 5 values from bytes 3, 8, 13, … into `values`
// whenever the tag is right (also with a bad close).
FrameCheck ParseValueFrame(const std::uint8_t* data, std::size_t count, char tag, std::size_t length,
                           std::int32_t* values);

// Number of values a value frame of `length` bytes carries.
constexpr std::size_t ValueCount(std::size_t length) { return length >= 4 ? (length - 4) / 5 : 0; }

}  // namespace wattrix::protocol
