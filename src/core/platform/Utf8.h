#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wattrix {

// Length in bytes of the first `maxCharacters` characters of UTF-8 text, so
// that a cut never splits a multi-byte character. A byte that does not
// belong to a well-formed sequence counts as one character.
std::size_t Utf8PrefixBytes(std::string_view text, std::size_t maxCharacters);

// Cuts text to at most `maxCharacters` characters.
void TruncateUtf8(std::string& text, std::size_t maxCharacters);

}  // namespace wattrix
