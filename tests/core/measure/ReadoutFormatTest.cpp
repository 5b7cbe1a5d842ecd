#include "core/measure/ReadoutFormat.h"

#include "core/measure/MeasurementSettings.h"
#include "core/platform/NumberText.h"
#include "support/CommaLocale.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <cmath>

namespace wattrix {
namespace {

TEST(ReadoutFormat, NumbersAreWhatPrintfWritesInTheCLocale) {
  EXPECT_EQ(FormatNumber(-12.345f, 1), "-12.3");
  EXPECT_EQ(FormatNumber(2400, 2), "2400.00");
  EXPECT_EQ(FormatNumber(0.5, 0), "0");  // half to even, as printf
  EXPECT_EQ(FormatNumber(1.5, 0), "2");
  EXPECT_EQ(FormatNumber(1.0, 3), "");
  EXPECT_EQ(FormatNumber(1.0, -1), "");
  // Rounding of awkward values, negative zero, huge values and non-numbers.
  const double values[] = {-12.345f,  0.125, 0.375,   2.675,  -0.004, 1e15 + 0.5, 1.7976931348623157e308,
                           -INFINITY, NAN,   59.995f, 1.0 / 3};
  for (const double v : values) {
    for (int d = 0; d <= 2; ++d) EXPECT_EQ(FormatNumber(v, d), FormatC("%.*f", d, v)) << v << " " << d;
  }
}

TEST(ReadoutFormat, WattsPickTheirUnitAtOneWattAndAtTheSinglePrecisionThreshold) {
  EXPECT_EQ(FormatWatts(0.5, 2), "500.00 mW");
  EXPECT_EQ(FormatWatts(1.5, 2), "1.50 W");
  EXPECT_EQ(FormatWatts(1.0, 2), "1000.00 mW");
  EXPECT_EQ(FormatWatts(0.00005, 2), "50.00 uW");
  EXPECT_EQ(FormatWatts(DbmToWatts(-12.345f), 1), "58.3 uW");
  // Just below 0.0001 in double, yet above the float 0.0001 the check uses.
  EXPECT_EQ(FormatWatts(0.0000999999999, 2), "0.10 mW");
  EXPECT_EQ(FormatWatts(static_cast<double>(0.0001f), 2), "100.00 uW");
  EXPECT_EQ(FormatWatts(-2.0, 2), "-2.00 W");
  EXPECT_EQ(FormatWatts(0.5, 5), " mW");
  EXPECT_DOUBLE_EQ(DbmToWatts(30), 1.0);
  EXPECT_DOUBLE_EQ(DbmToWatts(0), 0.001);
}

TEST(ReadoutFormat, ReturnLossIsClampedAndAbsentAtOrBelowVswrOne) {
  EXPECT_FALSE(ReturnLossDb(1.0).has_value());
  EXPECT_FALSE(ReturnLossDb(0.5).has_value());
  EXPECT_FALSE(ReturnLossDb(NAN).has_value());
  EXPECT_DOUBLE_EQ(*ReturnLossDb(1.0001f), -60.0);
  EXPECT_NEAR(*ReturnLossDb(65), -0.267, 0.001);
  EXPECT_NEAR(*ReturnLossDb(1.5), -13.979, 0.001);
  EXPECT_EQ(FormatNumber(*ReturnLossDb(65), 2), "-0.27");
  EXPECT_DOUBLE_EQ(*ReturnLossDb(INFINITY), 0.0);
}

TEST(ReadoutFormat, TextsAndSettingsFilesKeepTheDecimalPointUnderACommaLocale) {
  test::CommaLocale comma;
  if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma could be made";
  EXPECT_EQ(FormatNumber(-12.345f, 2), "-12.35");
  EXPECT_EQ(FormatWatts(0.5, 1), "500.0 mW");

  test::TempDir dir;
  MeasurementSettings out;
  out.SetSettingsDirectory(dir.Path());
  out.SetFrequency(2400.5f);
  out.SetLimits(kVswr, 1.25f, 1.75f);
  ASSERT_TRUE(out.SaveSettingsFile("PX420B"));
  EXPECT_NE(test::ReadFileBytes(dir.File("PX420B.ini")).find("FREQUENCY=   2400.50000000"),
            std::string::npos);
  MeasurementSettings in;
  in.SetSettingsDirectory(dir.Path());
  ASSERT_TRUE(in.LoadSettingsFile("PX420B"));
  EXPECT_FLOAT_EQ(in.Frequency(), 2400.5f);
  EXPECT_FLOAT_EQ(in.LowLimit(kVswr), 1.25f);
}

}  // namespace
}  // namespace wattrix
