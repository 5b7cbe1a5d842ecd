#include "core/platform/IniFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace wattrix {
namespace {

TEST(IniFile, ReadsHandEditedFileWithCommentsOddCaseAndBlanks) {
  const auto file = IniFile::Parse(
      "; settings edited by hand\r\n"
      "[Other]\r\n"
      "FREQUENCY=1\r\n"
      "  [ header ]  \r\n"
      "  Frequency =    2400.00000000  \r\n"
      "# a comment = not a key\r\n"
      "Title=\"quoted value\"\r\n"
      "DECIMAL=2abc\r\n"
      "Negative = -42\r\n"
      "Word=abc\r\n");
  EXPECT_EQ(file.ReadString("HEADER", "FREQUENCY"), "2400.00000000");
  EXPECT_EQ(file.ReadString("other", "frequency"), "1");
  EXPECT_EQ(file.ReadString("HEADER", "title"), "quoted value");
  EXPECT_EQ(file.ReadInt("HEADER", "DECIMAL"), 2);
  EXPECT_EQ(file.ReadInt("HEADER", "negative"), -42);
  EXPECT_EQ(file.ReadInt("HEADER", "Word"), 0);
  EXPECT_EQ(file.ReadInt("HEADER", "missing"), 0);
  EXPECT_EQ(file.ReadString("HEADER", "# a comment"), "");
  EXPECT_EQ(file.ReadString("missing", "FREQUENCY"), "");
}

TEST(IniFile, StringsAreCutTo255CharactersNeverInsideOne) {
  const std::string e = "\xC3\xA9";  // one character, two bytes
  const auto file = IniFile::Parse("[S]\nK=" + std::string(300, 'x') + "\nU=" + std::string(254, 'x') + e +
                                   e + "\nV=" + std::string(300, e[0]) + "\n");
  EXPECT_EQ(file.ReadString("S", "K").size(), 255u);
  EXPECT_EQ(file.Find("S", "K")->size(), 300u);
  EXPECT_EQ(file.ReadString("S", "U"), std::string(254, 'x') + e);
  // Bytes that are not UTF-8 count one each.
  EXPECT_EQ(file.ReadString("S", "V").size(), 255u);
}

TEST(IniFile, FileSavedWithAByteOrderMarkReadsAndKeepsIt) {
  auto file = IniFile::Parse("\xEF\xBB\xBF[STRING]\r\nS_VERSION=1.0.0\r\n");
  EXPECT_EQ(file.ReadString("STRING", "S_VERSION"), "1.0.0");
  file.Write("STRING", "S_VERSION", "2");
  EXPECT_EQ(file.Text(), "\xEF\xBB\xBF[STRING]\r\nS_VERSION=2\r\n");
}

TEST(IniFile, AWrittenValueCannotAddLinesOfItsOwn) {
  auto file = IniFile::Parse("[HEADER]\nDEVICE=PX420B\n");
  file.Write("HEADER", "DEVICE", "PX\r\n[AVG]\nRATE=3");
  const auto again = IniFile::Parse(file.Text());
  EXPECT_EQ(again.ReadString("AVG", "RATE"), "");
  EXPECT_EQ(again.ReadString("HEADER", "DEVICE"), "PX  [AVG] RATE=3");
}

TEST(IniFile, WritingOneKeyKeepsEveryOtherLine) {
  auto file = IniFile::Parse(
      "; keep me\r\n"
      "[HEADER]\r\n"
      "DEVICE=PX420B\r\n"
      "\r\n"
      "[AVG]\r\n"
      "rate=3\r\n");
  file.Write("header", "FREQUENCY", "   2400.00000000");
  file.Write("AVG", "RATE", "1");
  file.Write("LOGGING", "ITEMS", "15");
  EXPECT_EQ(file.Text(),
            "; keep me\r\n"
            "[HEADER]\r\n"
            "DEVICE=PX420B\r\n"
            "FREQUENCY=   2400.00000000\r\n"
            "\r\n"
            "[AVG]\r\n"
            "RATE=1\r\n"
            "[LOGGING]\r\n"
            "ITEMS=15\r\n");
  // Values written with leading blanks read back trimmed.
  EXPECT_EQ(file.ReadString("HEADER", "FREQUENCY"), "2400.00000000");
}

TEST(IniFile, ProfileHelpersCreateTheFileAndRoundTrip) {
  test::TempDir dir;
  const auto path = dir.File("new.ini");
  EXPECT_EQ(ReadProfileString(path, "A", "B"), "");
  ASSERT_TRUE(WriteProfileString(path, "A", "B", "one"));
  ASSERT_TRUE(WriteProfileString(path, "A", "C", "7"));
  ASSERT_TRUE(WriteProfileString(path, "A", "B", "two"));
  EXPECT_EQ(ReadProfileString(path, "a", "b"), "two");
  EXPECT_EQ(ReadProfileInt(path, "A", "C"), 7);
  EXPECT_EQ(test::ReadFileBytes(path), "[A]\nB=two\nC=7\n");
}

TEST(IniFile, LeadingIntegerParseClampsAndStops) {
  EXPECT_EQ(ParseLeadingInt("  12 34"), 12);
  EXPECT_EQ(ParseLeadingInt("+5"), 5);
  EXPECT_EQ(ParseLeadingInt("-"), 0);
  EXPECT_EQ(ParseLeadingInt("99999999999999"), 2147483647);
  EXPECT_EQ(ParseLeadingInt("-99999999999999"), -2147483647 - 1);
}

}  // namespace
}  // namespace wattrix
