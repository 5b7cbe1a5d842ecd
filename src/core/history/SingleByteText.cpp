#include "core/history/SingleByteText.h"

#include <algorithm>
#include <array>

namespace wattrix {

namespace {

// Code points of the bytes 0x80-0x9F; the five unassigned bytes keep the
// control code of the same value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ToSingleByte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

char32_t FromSingleByte(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one code point at pos and advances; an invalid sequence yields
// U+FFFD and skips one byte.
char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    ++pos;
    return 0xFFFD;
  }
  if (pos + static_cast<std::size_t>(length) > s.size()) {
    ++pos;
    return 0xFFFD;
  }
  for (int i = 1; i < length; ++i) {
    const auto c = static_cast<unsigned char>(s[pos + static_cast<std::size_t>(i)]);
    if ((c & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return 0xFFFD;
  }
  pos += static_cast<std::size_t>(length);
  return cp;
}

}  // namespace

std::string Utf8ToSingleByte(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) out.push_back(ToSingleByte(NextCodePoint(utf8, pos)));
  return out;
}

std::string SingleByteToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) AppendUtf8(out, FromSingleByte(static_cast<unsigned char>(c)));
  return out;
}

void WriteTextField(std::span<std::uint8_t> field, std::string_view utf8) {
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  if (field.empty()) return;
  auto bytes = Utf8ToSingleByte(utf8);
  // The text ends at an embedded NUL, as a C string would.
  bytes.resize(std::min(bytes.find('\0'), bytes.size()));
  const std::size_t n = std::min(bytes.size(), field.size() - 1);
  std::copy_n(bytes.begin(), n, field.begin());
}

std::string ReadTextField(std::span<const std::uint8_t> field) {
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  return SingleByteToUtf8(std::string_view(reinterpret_cast<const char*>(field.data()),
                                           static_cast<std::size_t>(end - field.begin())));
}

std::size_t Utf8Length(std::string_view utf8) {
  std::size_t n = 0;
  for (std::size_t pos = 0; pos < utf8.size(); ++n) NextCodePoint(utf8, pos);
  return n;
}

std::string Utf8Prefix(std::string_view utf8, std::size_t characters) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < characters && pos < utf8.size(); ++n) NextCodePoint(utf8, pos);
  return std::string(utf8.substr(0, pos));
}

}  // namespace wattrix
