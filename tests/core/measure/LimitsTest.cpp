#include "core/measure/Limits.h"

#include "core/device/SensorModel.h"
#include "core/measure/MeasurementSettings.h"
#include "core/strings/StringTable.h"
#include "support/Recorders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <ostream>

namespace wattrix {

void PrintTo(const MeterThreshold& z, std::ostream* os) {
  *os << std::hex << "{0x" << z.colour << std::dec << ", " << z.start << ", " << z.end << "}";
}

namespace {

QuantitySettings Scale(float displayLow, float displayHigh, float low, float high, bool check = true) {
  QuantitySettings s;
  s.displayLow = displayLow;
  s.displayHigh = displayHigh;
  s.lowLimit = low;
  s.highLimit = high;
  s.limitCheck = check;
  return s;
}

TEST(Limits, BoundariesAreInsideAndOnlyCheckPlusAlarmBeeps) {
  MeasurementSettings s;
  s.SetLimits(kAvg, 0, 10);
  s.SetLimitCheck(kAvg, true);
  s.SetBeepAlarm(kAvg, true);
  test::RecordingBeeper beeper;  // the process-wide beeper while it lives
  for (const float inside : {0.0f, 10.0f, 5.0f}) {
    EXPECT_FALSE(IsOutOfLimit(s, kAvg, inside)) << inside;
    EXPECT_FALSE(BeepIfOutOfLimit(s, kAvg, inside)) << inside;
  }
  for (const float outside : {-0.01f, 10.01f}) {
    EXPECT_TRUE(IsOutOfLimit(s, kAvg, outside)) << outside;
    EXPECT_TRUE(BeepIfOutOfLimit(s, kAvg, outside)) << outside;
  }
  EXPECT_EQ(beeper.Beeps(), (std::vector<unsigned>{beep::kSimple, beep::kSimple}));

  // Limit check on, alarm off: out of limit, but silent.
  beeper.Clear();
  s.SetBeepAlarm(kAvg, false);
  EXPECT_TRUE(IsOutOfLimit(s, kAvg, 11.0f));
  EXPECT_FALSE(BeepIfOutOfLimit(s, kAvg, 11.0f));
  s.SetBeepAlarm(kAvg, true);
  s.SetLimitCheck(kAvg, false);
  EXPECT_FALSE(BeepIfOutOfLimit(s, kAvg, 11.0f));
  EXPECT_TRUE(beeper.Beeps().empty());

  // Low limit above the high one: nothing is inside.
  s.SetLimits(kPeak, 5, 1);
  EXPECT_TRUE(IsOutOfLimit(s, kPeak, 3.0f));
}

TEST(Limits, BeepKindsPlayTheirTypesThroughTheGivenBeeper) {
  EXPECT_EQ(BeepTypeOfKind(0), beep::kSimple);
  EXPECT_EQ(BeepTypeOfKind(1), beep::kInformation);
  EXPECT_EQ(BeepTypeOfKind(2), beep::kExclamation);
  EXPECT_EQ(BeepTypeOfKind(3), beep::kError);
  EXPECT_EQ(BeepTypeOfKind(7), beep::kSimple);
  EXPECT_EQ(BeepTypeOfKind(-1), beep::kSimple);

  MeasurementSettings s;
  s.SetLimits(kVswr, 1, 1.5f);
  s.SetLimitCheck(kVswr, true);
  s.SetBeepAlarm(kVswr, true);
  s.SetBeepKind(kVswr, 2);
  test::RecordingBeeper injected;
  {
    test::RecordingBeeper global;  // installed last, so it is the process-wide one
    EXPECT_TRUE(BeepIfOutOfLimit(s, kVswr, 2.0f, injected));
    s.SetBeepKind(kVswr, 7);
    EXPECT_TRUE(BeepIfOutOfLimit(s, kVswr, 2.0f, injected));
    EXPECT_TRUE(global.Beeps().empty());
  }
  EXPECT_EQ(injected.Beeps(), (std::vector<unsigned>{beep::kExclamation, beep::kSimple}));
}

TEST(Limits, GaugeZonesClipTheBandToTheScale) {
  using Z = std::vector<MeterThreshold>;
  constexpr auto red = zone_colour::kOutOfLimit;
  constexpr auto green = zone_colour::kInLimit;
  EXPECT_EQ(red, 0xFFFF0000u);
  EXPECT_EQ(green, 0xFF008000u);
  EXPECT_EQ(GaugeZones(Scale(20, 60, 30, 50)), (Z{{red, 20, 30}, {green, 30, 50}, {red, 50, 60}}));
  EXPECT_EQ(GaugeZones(Scale(20, 60, 10, 70)), (Z{{green, 20, 60}}));
  EXPECT_EQ(GaugeZones(Scale(20, 60, 60, 80)), (Z{{red, 20, 60}}));  // band above the scale
  EXPECT_EQ(GaugeZones(Scale(20, 60, 0, 20)), (Z{{red, 20, 60}}));   // band below it
  EXPECT_EQ(GaugeZones(Scale(20, 60, 20, 40)), (Z{{green, 20, 40}, {red, 40, 60}}));
  EXPECT_EQ(GaugeZones(Scale(20, 60, 30, 50, false)), Z{});  // limit check off: no zones
  // Low limit above the high one: every reading is out, so no green.
  EXPECT_EQ(GaugeZones(Scale(20, 60, 50, 30)), (Z{{red, 20, 50}, {red, 30, 60}}));
  // Single precision, as the settings hold them.
  const auto zones = GaugeZones(Scale(1, 2, 1.1f, 1.9f));
  ASSERT_EQ(zones.size(), 3u);
  EXPECT_EQ(zones[1].start, static_cast<double>(1.1f));
  const MeterThreshold unset;
  EXPECT_EQ(unset.start, 0.0);
  EXPECT_EQ(unset.end, 1.0);
}

TEST(Limits, LimitTextsCarryTheUnitOfTheQuantityAndTheDecimalsSetting) {
  test::TempDir dir;
  test::WriteFileBytes(dir.File("QLMXEnStr.ini"),
                       "[STRING]\nS_MEASUREVIEW_LLIMIT=Low:\nS_MEASUREVIEW_HLIMIT=High:\n");
  strings::SetStringTablePath(dir.File("QLMXEnStr.ini"));
  MeasurementSettings s;  // PX420B
  s.SetLimits(kAvg, 30, 50.5f);
  s.SetLimits(kVswr, 1, 1.25f);
  s.SetLimits(kPulse, -3.25f, 0);
  s.SetRelative(true);  // limits stay absolute
  EXPECT_EQ(LimitText(s, kAvg, false), "Low: 30.00 dBm");
  EXPECT_EQ(LimitText(s, kAvg, true), "High: 50.50 dBm");
  EXPECT_EQ(LimitText(s, kVswr, true), "High: 1.25 : 1");
  EXPECT_EQ(LimitText(s, kPulse, false), "Low: -3.25 dBm");
  EXPECT_EQ(LimitText(s, kCcdf, false), "");
  s.SetDecimals(0);
  EXPECT_EQ(LimitText(s, kAvg, true), "High: 50 dBm");  // "%.0f" rounds half to even
  s.SetDecimals(3);
  EXPECT_EQ(LimitText(s, kAvg, true), "High:  dBm");
  s.SetDecimals(1);
  s.SetModelCode(model::kPX470A);
  s.SetLimits(kVswr, 0, 12.25f);
  EXPECT_EQ(LimitText(s, kVswr, true), "High: 12.2 dB");
}

}  // namespace
}  // namespace wattrix
