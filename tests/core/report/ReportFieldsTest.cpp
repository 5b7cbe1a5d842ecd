#include "core/report/ReportFields.h"
#include "core/report/StandardFonts.h"

#include <gtest/gtest.h>

namespace wattrix {
namespace {

std::tm At(int year, int month, int day, int hour, int minute) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  return t;
}

TEST(ReportFields, DatePresetHasTheDialogsFormat) {
  EXPECT_EQ(report::FormatReportDate(At(2026, 3, 7, 9, 5)), " 2026,03,07 AM 9:05");
  EXPECT_EQ(report::FormatReportDate(At(2026, 12, 31, 23, 59)), " 2026,12,31 PM 11:59");
  // Midnight and noon are 12, not 0.
  EXPECT_EQ(report::FormatReportDate(At(2027, 1, 1, 0, 0)), " 2027,01,01 AM 12:00");
  EXPECT_EQ(report::FormatReportDate(At(2027, 1, 1, 12, 30)), " 2027,01,01 PM 12:30");
  EXPECT_EQ(report::CurrentReportDate().front(), ' ');
}

TEST(ReportFields, LimitsCountCharactersAsTheInputFieldsDo) {
  EXPECT_EQ(report::InputLength("abc"), 3u);
  EXPECT_EQ(report::InputLength("\xC3\xA9t\xC3\xA9"), 3u);  // été
  EXPECT_EQ(report::InputLength("\xF0\x9F\x93\xA1"), 2u);   // outside the basic plane
  ReportFields fields;
  fields.result = std::string(700, 'r');
  fields.title = std::string(59, 't') + "\xC3\xA9";  // 60 characters, 61 bytes
  EXPECT_EQ(report::FirstTooLong(fields), nullptr);
  fields.engineer = std::string(31, 'e');
  ASSERT_NE(report::FirstTooLong(fields), nullptr);
  EXPECT_STREQ(report::FirstTooLong(fields)->optionName, "--engineer");
  fields.engineer.clear();
  fields.result += "x";
  ASSERT_NE(report::FirstTooLong(fields), nullptr);
  EXPECT_EQ(report::FirstTooLong(fields)->limit, 700u);
}

TEST(StandardFonts, MeasuresLatinTextAndEncodesIt) {
  const Font sans{"Arial", 1000, 400, 0};
  const Font bold{"Arial", 1000, 700, 0};
  EXPECT_DOUBLE_EQ(StandardTextSize("A a", sans).width, 667 + 278 + 556);
  EXPECT_DOUBLE_EQ(StandardTextSize("i", bold).width, 278);
  EXPECT_DOUBLE_EQ(StandardTextSize("iii", Font{"Courier", 10, 400, 0}).width, 18);
  // The euro sign and typographic quotes are in the encoding; other scripts
  // are measured and written as the '?' shown for them.
  EXPECT_EQ(ToWinAnsi("\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D \xC3\xA9"), "\x80 \x93x\x94 \xE9");
  EXPECT_EQ(ToWinAnsi("\xD0\x96"), "?");
  EXPECT_TRUE(InWinAnsi("M\xC3\xBCller \xE2\x82\xAC\n\tok?"));
  EXPECT_FALSE(InWinAnsi("\xD0\x96"));
  EXPECT_EQ(ToWinAnsi("\xFF\xC3"), "??");  // broken UTF-8 never reads past the end
  EXPECT_DOUBLE_EQ(StandardTextSize("\xD0\x96", sans).width, StandardTextSize("?", sans).width);
}

}  // namespace
}  // namespace wattrix
