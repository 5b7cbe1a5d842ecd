#include "core/platform/NumberText.h"

#include <gtest/gtest.h>

namespace wattrix {
namespace {

TEST(NumberText, ParsesLikeStrtodAndGivesZeroForWhatIsNotAFiniteNumber) {
  EXPECT_DOUBLE_EQ(ParseDouble("   2400.00000000"), 2400.0);
  EXPECT_DOUBLE_EQ(ParseDouble("-1.5e2 dB"), -150.0);
  EXPECT_DOUBLE_EQ(ParseDouble(std::string(100, ' ') + "7.5"), 7.5);  // beyond the small buffer
  for (const char* bad : {"abc", "", "nan", "-inf", "1e999"}) EXPECT_DOUBLE_EQ(ParseDouble(bad), 0.0) << bad;
  EXPECT_FLOAT_EQ(ParseFloat("3.5"), 3.5f);
  EXPECT_FLOAT_EQ(ParseFloat("-1e39"), 0.0f);  // beyond float: not a usable setting
  EXPECT_EQ(FormatC("%16.8f|%s|%d", 2400.0, "x", 7), "   2400.00000000|x|7");
  EXPECT_EQ(FormatC("%s", std::string(300, 'y').c_str()).size(), 300u);  // beyond the stack buffer
}

}  // namespace
}  // namespace wattrix
