#include "core/report/StandardFonts.h"
#include "core/report/TextWrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wattrix {
namespace {

// One unit per character (code point), so widths are easy to reason about.
double Chars(std::string_view text) {
  double n = 0;
  for (std::size_t pos = 0; pos < text.size(); ++n) NextCodePoint(text, pos);
  return n;
}

using Lines = std::vector<std::string>;

TEST(TextWrap, BreaksAtSpacesAndKeepsTheUsersLines) {
  EXPECT_EQ(WrapText("", 10, Chars), Lines{});
  EXPECT_EQ(WrapText("short", 10, Chars), Lines{"short"});
  EXPECT_EQ(WrapText("the quick brown fox jumps", 10, Chars), (Lines{"the quick", "brown fox", "jumps"}));
  // Exactly the width still fits.
  EXPECT_EQ(WrapText("abcde fghij", 11, Chars), Lines{"abcde fghij"});
  EXPECT_EQ(WrapText("abcde fghij", 10, Chars), (Lines{"abcde", "fghij"}));
  // Line breaks of every platform, and empty paragraphs, are kept.
  EXPECT_EQ(WrapText("one\r\ntwo\nthree\rfour", 10, Chars), (Lines{"one", "two", "three", "four"}));
  EXPECT_EQ(WrapText("a\n\nb\n", 10, Chars), (Lines{"a", "", "b", ""}));
}

TEST(TextWrap, CutsWordsWiderThanALineBetweenCharacters) {
  EXPECT_EQ(WrapText("abcdefghijklmnopqrstuvwxyz", 10, Chars), (Lines{"abcdefghij", "klmnopqrst", "uvwxyz"}));
  EXPECT_EQ(WrapText("to abcdefghijkl end", 10, Chars), (Lines{"to", "abcdefghij", "kl end"}));
  // Multi-byte characters are never split.
  const std::string word = "\xC3\xA9\xC3\xA9\xC3\xA9\xE2\x82\xAC\xE2\x82\xAC";  // ééé€€
  EXPECT_EQ(WrapText(word, 2, Chars), (Lines{"\xC3\xA9\xC3\xA9", "\xC3\xA9\xE2\x82\xAC", "\xE2\x82\xAC"}));
  // A width narrower than one character still moves on, one per line.
  EXPECT_EQ(WrapText("abc", 0.5, Chars), (Lines{"a", "b", "c"}));
}

TEST(TextWrap, ElidesWithTheEllipsisInsideTheWidth) {
  EXPECT_EQ(ElideText("fits", 4, Chars), "fits");
  EXPECT_EQ(ElideText("too long", 5, Chars), "too \xE2\x80\xA6");
  EXPECT_EQ(ElideText("abc", 0.5, Chars), "\xE2\x80\xA6");
}

}  // namespace
}  // namespace wattrix
