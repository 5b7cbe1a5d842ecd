#include "core/measure/ReadoutFormat.h"

#include "core/measure/MeasurementSettings.h"
#include "core/platform/NumberText.h"
#include "support/CommaLocale.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <initializer_list>

namespace wattrix {
namespace {

TEST(ReadoutFormat, NumbersAreWhatPrintfWritesInTheCLocale) {
  EXPECT_EQ(FormatNumber(-12.345f, 1), "-12.3");
  EXPECT_EQ(FormatNumber(1.0, 3), "");
  EXPECT_EQ(FormatNumber(1.0, -1), "");
  for (const double v : std::initializer_list<double>{-12.345f, 0.5, 1.5, 2.675, -0.004, 1e15 + 0.5,
                                                      1.7976931348623157e308, -INFINITY, NAN}) {
    for (int d = 0; d <= 2; ++d) EXPECT_EQ(FormatNumber(v, d), FormatC("%.*f", d, v)) << v << " " << d;
  }
}

TEST(ReadoutFormat, WattsPickTheirUnitAtOneWattAndAtTheSinglePrecisionThreshold) {
  EXPECT_EQ(FormatWatts(0.5, 2), "500.00 mW");
  EXPECT_EQ(FormatWatts(1.5, 2), "1.50 W");
  EXPECT_EQ(FormatWatts(1.0, 2), "1000.00 mW");
  EXPECT_EQ(FormatWatts(0.00005, 2), "50.00 uW");
  EXPECT_EQ(FormatWatts(DbmToWatts(-12.345f), 1), "58.3 uW");
  EXPECT_EQ(FormatWatts(0.0000999999999, 2), "0.10 mW");  // above the float 0.0001
  EXPECT_EQ(FormatWatts(static_cast<double>(0.0001f), 2), "100.00 uW");
  EXPECT_DOUBLE_EQ(DbmToWatts(30), 1.0);
}

TEST(ReadoutFormat, ReturnLossIsClampedAndAbsentAtOrBelowVswrOne) {
  for (const double none : {1.0, 0.5, static_cast<double>(NAN)}) EXPECT_FALSE(ReturnLossDb(none)) << none;
  EXPECT_DOUBLE_EQ(*ReturnLossDb(1.0001f), -60.0);
  EXPECT_EQ(FormatNumber(*ReturnLossDb(65), 2), "-0.27");
  EXPECT_NEAR(*ReturnLossDb(1.5), -13.979, 0.001);
  EXPECT_DOUBLE_EQ(*ReturnLossDb(INFINITY), 0.0);
}

TEST(ReadoutFormat, TextsAndSettingsFilesKeepTheDecimalPointUnderACommaLocale) {
  test::CommaLocale comma;
  if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma could be made";
  char probe[8];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  ASSERT_STREQ(probe, "0,5");  // the locale really is in force
  EXPECT_EQ(FormatNumber(-12.345f, 2), "-12.35");
  EXPECT_EQ(FormatWatts(0.5, 1), "500.0 mW");
  EXPECT_DOUBLE_EQ(ParseDouble("2400.5"), 2400.5);

  test::TempDir dir;
  MeasurementSettings out;
  out.SetSettingsDirectory(dir.Path());
  out.SetFrequency(2400.5f);
  ASSERT_TRUE(out.SaveSettingsFile("PX420B"));
  EXPECT_NE(test::ReadFileBytes(dir.File("PX420B.ini")).find("FREQUENCY=   2400.50000000"),
            std::string::npos);
  MeasurementSettings in;
  in.SetSettingsDirectory(dir.Path());
  ASSERT_TRUE(in.LoadSettingsFile("PX420B"));
  EXPECT_FLOAT_EQ(in.Frequency(), 2400.5f);
}

}  // namespace
}  // namespace wattrix
