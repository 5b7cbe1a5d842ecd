#include "core/platform/Utf8.h"

namespace wattrix {

namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Bytes of the sequence a lead byte announces; 1 for bytes that cannot lead.
std::size_t SequenceLength(unsigned char b) {
  if (b < 0xC2) return 1;  // ASCII, stray continuation, over-long leads
  if (b < 0xE0) return 2;
  if (b < 0xF0) return 3;
  if (b < 0xF5) return 4;
  return 1;
}

}  // namespace

std::size_t Utf8PrefixBytes(std::string_view text, std::size_t maxCharacters) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < maxCharacters && pos < text.size(); ++n) {
    const std::size_t length = SequenceLength(static_cast<unsigned char>(text[pos]));
    std::size_t taken = 1;
    while (taken < length && pos + taken < text.size() &&
           IsContinuation(static_cast<unsigned char>(text[pos + taken]))) {
      ++taken;
    }
    // A broken sequence counts its lead byte alone; the rest are read as
    // characters of their own.
    pos += taken == length ? length : 1;
  }
  return pos;
}

void TruncateUtf8(std::string& text, std::size_t maxCharacters) {
  if (text.size() <= maxCharacters) return;  // fewer bytes than allowed characters
  text.resize(Utf8PrefixBytes(text, maxCharacters));
}

}  // namespace wattrix
