#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace wattrix {

// The text fields of history files hold single-byte Windows-1252 text (a
// superset of Latin-1). The program works in UTF-8.

// UTF-8 to Windows-1252; characters without a single-byte form, and bytes
// that are not valid UTF-8, become '?'.
std::string Utf8ToSingleByte(std::string_view utf8);
// Windows-1252 to UTF-8.
std::string SingleByteToUtf8(std::string_view text);

// Writes the UTF-8 text into a fixed field: converted, cut so that it and
// its NUL fit, and the rest of the field cleared. Never writes past it.
void WriteTextField(std::span<std::uint8_t> field, std::string_view utf8);
// The text of a field up to its first NUL (or the whole field when it has
// none), as UTF-8.
std::string ReadTextField(std::span<const std::uint8_t> field);

// Number of characters (code points) of a UTF-8 text.
std::size_t Utf8Length(std::string_view utf8);
// The first `characters` characters of a UTF-8 text.
std::string Utf8Prefix(std::string_view utf8, std::size_t characters);

}  // namespace wattrix
