#include "core/report/StandardFonts.h"

#include "core/report/StandardFontTables.h"

#include <algorithm>
#include <cctype>

namespace wattrix {

namespace {

constexpr int kMonoWidth = 600;
constexpr int kQuestionMark = '?';

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

StandardFace StandardFaceOf(const Font& font) {
  const std::string face = Lower(font.face);
  if (face.find("courier") != std::string::npos || face.find("mono") != std::string::npos)
    return StandardFace::Mono;
  return font.weight >= 600 ? StandardFace::SansBold : StandardFace::Sans;
}

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  int length = 1;
  char32_t value = lead;
  if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07;
  } else if (lead >= 0xE0) {
    length = 3, value = lead & 0x0F;
  } else if (lead >= 0xC2 && lead < 0xE0) {
    length = 2, value = lead & 0x1F;
  } else if (lead >= 0x80) {
    ++pos;
    return 0xFFFD;
  }
  if (pos + static_cast<std::size_t>(length) > text.size()) {
    ++pos;
    return 0xFFFD;
  }
  for (int i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + static_cast<std::size_t>(i));
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    value = (value << 6) | (next & 0x3F);
  }
  // Over-long forms and surrogates are not characters.
  const bool overlong =
      (length == 3 && value < 0x800) || (length == 4 && (value < 0x10000 || value > 0x10FFFF));
  if (overlong || (value >= 0xD800 && value <= 0xDFFF)) {
    ++pos;
    return 0xFFFD;
  }
  pos += static_cast<std::size_t>(length);
  return value;
}

std::uint8_t WinAnsiByte(char32_t c) {
  if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF)) return static_cast<std::uint8_t>(c);
  for (std::size_t i = 0; i < standard_fonts::kWinAnsiHigh.size(); ++i) {
    if (standard_fonts::kWinAnsiHigh[i] != 0 && standard_fonts::kWinAnsiHigh[i] == c)
      return static_cast<std::uint8_t>(0x80 + i);
  }
  return 0;
}

std::string ToWinAnsi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, pos);
    const std::uint8_t b = c == U'\t' ? ' ' : WinAnsiByte(c);
    out.push_back(static_cast<char>(b != 0 ? b : kQuestionMark));
  }
  return out;
}

bool InWinAnsi(std::string_view utf8) {
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, pos);
    if (c != U'\t' && c != U'\n' && c != U'\r' && WinAnsiByte(c) == 0) return false;
  }
  return true;
}

int WinAnsiWidth(StandardFace face, std::uint8_t code) {
  if (code < 32) return 0;
  if (face == StandardFace::Mono) return kMonoWidth;
  const auto& table =
      face == StandardFace::SansBold ? standard_fonts::kSansBoldWidths : standard_fonts::kSansWidths;
  return table[code - 32u];
}

int AdvanceWidth(StandardFace face, char32_t c) {
  if (c == U'\t') c = U' ';
  if (const std::uint8_t b = WinAnsiByte(c)) return WinAnsiWidth(face, b);
  if (IsWide(c)) return 1000;
  return WinAnsiWidth(face, kQuestionMark);
}

SizeF StandardTextSize(std::string_view utf8, const Font& font) {
  const StandardFace face = StandardFaceOf(font);
  long total = 0;
  for (std::size_t pos = 0; pos < utf8.size();) total += AdvanceWidth(face, NextCodePoint(utf8, pos));
  return SizeF{static_cast<double>(total) * font.pixelHeight / 1000.0,
               (kStandardAscent + kStandardDescent) * font.pixelHeight};
}

FontMetrics StandardFontMetrics(const Font& font) {
  const StandardFace face = StandardFaceOf(font);
  // The average character width the sans-serif faces declare.
  const double average = face == StandardFace::Mono       ? 0.6
                         : face == StandardFace::SansBold ? 1255.0 / 2048.0
                                                          : 1208.0 / 2048.0;
  return FontMetrics{(kStandardAscent + kStandardDescent) * font.pixelHeight, average * font.pixelHeight,
                     kStandardAscent * font.pixelHeight};
}

}  // namespace wattrix
