#pragma once

#include "core/platform/Canvas.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace wattrix {

// The three faces a report page is written with when no window system
// measures text: the sans-serif face in regular and bold weight (what
// "Arial" resolves to, with the same advance widths) and a fixed-pitch face
// for "Courier". Widths are in thousandths of the em.
enum class StandardFace { Sans, SansBold, Mono };

StandardFace StandardFaceOf(const Font& font);

// Next code point of UTF-8 text at `pos` (advanced past it); a byte that
// does not start a well-formed sequence is taken as U+FFFD.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

// The byte of a code point in the Windows Latin-1 encoding of PDF's
// standard fonts, or 0 when it has none.
std::uint8_t WinAnsiByte(char32_t codePoint);
// Text in that encoding; characters it lacks become '?'.
std::string ToWinAnsi(std::string_view utf8);
// Whether every character of the text is in that encoding.
bool InWinAnsi(std::string_view utf8);

// Advance width of one code point in thousandths of the em. Characters the
// encoding lacks are measured as the '?' drawn for them, wide East Asian
// characters as a full em.
int AdvanceWidth(StandardFace face, char32_t codePoint);
// Width of the WinAnsi byte `code` (32-255), as written into a PDF font.
int WinAnsiWidth(StandardFace face, std::uint8_t code);

// Text size and metrics of a font by these tables.
SizeF StandardTextSize(std::string_view utf8, const Font& font);
FontMetrics StandardFontMetrics(const Font& font);

// Ascent and descent of the sans-serif faces as a share of the em; a line
// is their sum high.
inline constexpr double kStandardAscent = 1854.0 / 2048.0;
inline constexpr double kStandardDescent = 434.0 / 2048.0;

}  // namespace wattrix
