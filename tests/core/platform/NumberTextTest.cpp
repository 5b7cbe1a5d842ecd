#include "core/platform/NumberText.h"

#include "support/CommaLocale.h"

#include <gtest/gtest.h>
#include <cstdio>

namespace wattrix {
namespace {

TEST(NumberText, ParsesLikeStrtodAndGivesZeroForWhatIsNotAFiniteNumber) {
  EXPECT_DOUBLE_EQ(ParseDouble("   2400.00000000"), 2400.0);
  EXPECT_DOUBLE_EQ(ParseDouble("-1.5e2 dB"), -150.0);
  EXPECT_DOUBLE_EQ(ParseDouble("+.25"), 0.25);
  EXPECT_DOUBLE_EQ(ParseDouble("abc"), 0.0);
  EXPECT_DOUBLE_EQ(ParseDouble(""), 0.0);
  EXPECT_DOUBLE_EQ(ParseDouble("nan"), 0.0);
  EXPECT_DOUBLE_EQ(ParseDouble("-inf"), 0.0);
  EXPECT_DOUBLE_EQ(ParseDouble("1e999"), 0.0);
  EXPECT_DOUBLE_EQ(ParseDouble(std::string(100, ' ') + "7.5"), 7.5);  // longer than the small buffer
  EXPECT_FLOAT_EQ(ParseFloat("3.5"), 3.5f);
  EXPECT_FLOAT_EQ(ParseFloat("1e300"), 0.0f);  // beyond float: not a usable setting
  EXPECT_FLOAT_EQ(ParseFloat("-1e39"), 0.0f);
  EXPECT_EQ(FormatC("%16.8f|%s|%d", 2400.0, "x", 7), "   2400.00000000|x|7");
  EXPECT_EQ(FormatC("%s", std::string(300, 'y').c_str()).size(), 300u);  // beyond the stack buffer
}

TEST(NumberText, IgnoresACommaDecimalLocale) {
  test::CommaLocale comma;
  if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma could be made";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  ASSERT_STREQ(probe, "0,5");  // the locale really is in force
  EXPECT_EQ(FormatC("%.2f", -12.345), "-12.35");
  EXPECT_DOUBLE_EQ(ParseDouble("2400.5"), 2400.5);
  EXPECT_DOUBLE_EQ(ParseDouble("2400,5"), 2400.0);
}

}  // namespace
}  // namespace wattrix
