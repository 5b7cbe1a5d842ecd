#include "core/measure/MeasurementSettings.h"

#include "core/vocabulary/SensorModel.h"
#include "core/platform/IniFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wattrix {
namespace {

TEST(MeasurementSettingsFile, RoundTripsEveryKeyAndWritesTheExactFormats) {
  test::TempDir dir;
  MeasurementSettings out;
  out.SetSettingsDirectory(dir.Path());
  out.SetFrequency(2400);
  out.SetExternalOffset(-1.5f);
  out.SetDecimals(1);
  out.SetTechnology(3);
  out.SetPulseDuty(500);
  out.SetLimits(kVswr, 1.1f, 1.9f);
  out.SetLimitCheck(kPeak, true);
  out.SetBeepKind(kCcdf, 2);
  out.SetLoggingInterval(60);
  ASSERT_TRUE(out.SaveSettingsFile("PX420B"));

  const auto text = test::ReadFileBytes(dir.File("PX420B.ini"));
  EXPECT_NE(text.find("FREQUENCY=   2400.00000000\n"), std::string::npos);
  EXPECT_NE(text.find("[HEADER]\nDEVICE=PX420B\nFREQUENCY="), std::string::npos);

  MeasurementSettings in;
  in.SetSettingsDirectory(dir.Path());
  ASSERT_TRUE(in.LoadSettingsFile("PX420B"));
  EXPECT_FLOAT_EQ(in.ExternalOffset(), -1.5f);
  EXPECT_EQ(in.Decimals(), 1);
  EXPECT_EQ(in.Technology(), 3);
  EXPECT_EQ(in.PulseDuty(), 500);
  EXPECT_FLOAT_EQ(in.HighLimit(kVswr), 1.9f);
  EXPECT_TRUE(in.LimitCheck(kPeak));
  EXPECT_EQ(in.BeepKind(kCcdf), 2);
  EXPECT_EQ(in.LoggingInterval(), 60);
}

TEST(MeasurementSettingsFile, WrongDeviceOrMissingKeys) {
  test::TempDir dir;
  MeasurementSettings s;
  s.SetSettingsDirectory(dir.Path());
  test::WriteFileBytes(dir.File("PX420B.ini"), "[HEADER]\nDEVICE=px420b\nDECIMAL=1\n");
  EXPECT_FALSE(s.LoadSettingsFile("PX420B"));
  EXPECT_EQ(s.Decimals(), 2);
  test::WriteFileBytes(dir.File("PX420B.ini"), "[HEADER]\nDEVICE=PX420B\n");
  EXPECT_TRUE(s.LoadSettingsFile("PX420B"));
  EXPECT_EQ(s.Decimals(), 0);  // a missing key reads 0, not the initial value
  // Numbers a float cannot hold, or no number at all, read as 0.
  test::WriteFileBytes(dir.File("PX420B.ini"),
                       "[HEADER]\nDEVICE=PX420B\nFREQUENCY=1e300\nEXTOFFSET=abc\n[AVG]\nMINDISP= -2.5dBm\n");
  EXPECT_TRUE(s.LoadSettingsFile("PX420B"));
  EXPECT_FLOAT_EQ(s.Frequency(), 0);
  EXPECT_FLOAT_EQ(s.ExternalOffset(), 0);
  EXPECT_FLOAT_EQ(s.DisplayLow(kAvg), -2.5f);
}

TEST(MeasurementSettingsDevice, VersionTextAndModelRangesWithoutAFile) {
  test::TempDir dir;
  MeasurementSettings s;
  s.SetSettingsDirectory(dir.Path());
  s.SetDevice(model::kPX470B, 123456, 1234);
  EXPECT_EQ(s.SerialNumber(), "123456");
  EXPECT_EQ(s.FirmwareVersion(), "12.34");
  EXPECT_FLOAT_EQ(s.DisplayLow(kVswr), 0);
  EXPECT_FLOAT_EQ(s.DisplayHigh(kVswr), 20);
  EXPECT_FLOAT_EQ(s.LowLimit(kAvg), -30);
  EXPECT_FLOAT_EQ(s.HighLimit(kCcdf), 20);
  s.SetDevice(model::kPX420B, 1, 5);
  EXPECT_EQ(s.FirmwareVersion(), "5");
}

TEST(MeasurementSettingsHistory, FullBufferAverageAndRelativeRestart) {
  MeasurementSettings s;
  EXPECT_FLOAT_EQ(s.LastReading(kAvg), 20);  // empty: display low of PX420B
  for (int i = 0; i < QuantityHistory::kCapacity; ++i) ASSERT_TRUE(s.AddReading(kPeak, 5.0f));
  EXPECT_FALSE(s.AddReading(kPeak, -50.0f));
  EXPECT_EQ(s.Count(kPeak), QuantityHistory::kCapacity);
  EXPECT_FLOAT_EQ(s.Min(kPeak), 5.0f);

  s.AddReading(kAvg, 0.0f);
  s.AddReading(kAvg, 10.0f);
  EXPECT_NEAR(s.Average(kAvg), 7.404, 1e-3);
  s.AddReading(kVswr, 1.2f);
  s.AddReading(kVswr, 1.4f);
  EXPECT_NEAR(s.Average(kVswr), 1.3, 1e-6);

  s.SetRelative(true);
  s.SetRelative(true);
  EXPECT_FLOAT_EQ(s.First(kAvg), 0);
  s.AddReading(kAvg, 3.0f);
  EXPECT_FLOAT_EQ(s.First(kAvg), 3.0f);
  EXPECT_EQ(s.Count(kAvg), 3);
  EXPECT_FLOAT_EQ(s.First(kVswr), 1.2f);
  EXPECT_TRUE(s.AddReading(kCcdf, 1.0f));  // no buffer: accepted, not stored
  // The restart of the relative display keeps every reading in the average.
  EXPECT_NEAR(s.Average(kAvg), 10 * std::log10((1 + 10 + std::pow(10.0, 0.3)) / 3), 1e-5);
  // A reading refused by the full buffer is not averaged either.
  EXPECT_FLOAT_EQ(s.Average(kPeak), 5.0f);
  s.ResetHistories();
  EXPECT_FLOAT_EQ(s.Average(kAvg), 0);
  s.AddReading(kAvg, -20.0f);
  EXPECT_FLOAT_EQ(s.Average(kAvg), -20.0f);
}

// The averages are kept as readings arrive; a run of varied readings gives
// to the last bit what a pass over the buffer in order gives, so a saved
// header does not depend on how it was computed.
TEST(MeasurementSettingsHistory, KeptAverageMatchesAPassOverTheRun) {
  MeasurementSettings s;
  for (int i = 0; i < 5000; ++i) {
    s.AddReading(kAvg, static_cast<float>(-30 + 70 * std::sin(i * 0.37)));
    s.AddReading(kVswr, static_cast<float>(1 + 0.001 * i));
  }
  int n = 0;
  const float* readings = s.GetReadings(kAvg, n);
  double linear = 0;
  for (int i = 0; i < n; ++i) linear += std::pow(10.0, readings[i] / 10.0);
  EXPECT_EQ(s.Average(kAvg), static_cast<float>(10.0 * std::log10(linear / n)));
  const float* vswr = s.GetReadings(kVswr, n);
  double sum = 0;
  for (int i = 0; i < n; ++i) sum += vswr[i];
  EXPECT_EQ(s.Average(kVswr), static_cast<float>(sum / n));
}

}  // namespace
}  // namespace wattrix
