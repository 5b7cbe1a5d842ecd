#include "core/measure/Limits.h"

#include "core/vocabulary/SensorModel.h"
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

TEST(Limits, BoundariesAreInsideAndOnlyCheckPlusAlarmBeepsWithTheKindsSound) {
  MeasurementSettings s;
  s.SetLimits(kAvg, 0, 10);
  s.SetLimitCheck(kAvg, true);
  s.SetBeepAlarm(kAvg, true);
  test::RecordingBeeper beeper;  // the process-wide beeper while it lives
  for (const float inside : {0.0f, 10.0f}) EXPECT_FALSE(BeepIfOutOfLimit(s, kAvg, inside)) << inside;
  s.SetBeepKind(kAvg, 2);
  EXPECT_TRUE(BeepIfOutOfLimit(s, kAvg, -0.01f));
  s.SetBeepKind(kAvg, 7);
  EXPECT_TRUE(BeepIfOutOfLimit(s, kAvg, 10.01f));
  EXPECT_EQ(beeper.Beeps(), (std::vector<unsigned>{beep::kExclamation, beep::kSimple}));

  s.SetBeepAlarm(kAvg, false);  // limit check alone: out of limit, but silent
  EXPECT_TRUE(IsOutOfLimit(s, kAvg, 11.0f));
  EXPECT_FALSE(BeepIfOutOfLimit(s, kAvg, 11.0f));
  s.SetBeepAlarm(kAvg, true);
  s.SetLimitCheck(kAvg, false);
  EXPECT_FALSE(BeepIfOutOfLimit(s, kAvg, 11.0f));
  test::RecordingBeeper injected;
  s.SetLimitCheck(kAvg, true);
  s.SetBeepKind(kAvg, 3);
  EXPECT_TRUE(BeepIfOutOfLimit(s, kAvg, 11.0f, injected));
  EXPECT_EQ(injected.Beeps(), std::vector<unsigned>{beep::kError});
  EXPECT_EQ(beeper.Beeps().size(), 2u);
  EXPECT_EQ(BeepTypeOfKind(1), beep::kInformation);
  EXPECT_EQ(BeepTypeOfKind(-1), beep::kSimple);
}

TEST(Limits, GaugeZonesClipTheBandToTheScale) {
  using Z = std::vector<MeterThreshold>;
  const auto zones = [](float dl, float dh, float ll, float lh, bool check = true) {
    QuantitySettings s;
    s.displayLow = dl;
    s.displayHigh = dh;
    s.lowLimit = ll;
    s.highLimit = lh;
    s.limitCheck = check;
    return GaugeZones(s);
  };
  constexpr std::uint32_t red = 0xFFFF0000, green = 0xFF008000;
  EXPECT_EQ(zones(20, 60, 30, 50), (Z{{red, 20, 30}, {green, 30, 50}, {red, 50, 60}}));
  EXPECT_EQ(zones(20, 60, 10, 70), (Z{{green, 20, 60}}));
  EXPECT_EQ(zones(20, 60, 60, 80), (Z{{red, 20, 60}}));  // band above the scale
  EXPECT_EQ(zones(20, 60, 0, 20), (Z{{red, 20, 60}}));   // and below it
  EXPECT_EQ(zones(20, 60, 30, 50, false), Z{});          // limit check off
  // Low limit above the high one: every reading is out, so no green.
  EXPECT_EQ(zones(20, 60, 50, 30), (Z{{red, 20, 50}, {red, 30, 60}}));
  EXPECT_EQ(zones(1, 2, 1.1f, 1.9f)[1].start, static_cast<double>(1.1f));  // single precision
}

TEST(Limits, LimitTextsCarryTheUnitOfTheQuantityAndTheDecimalsSetting) {
  test::TempDir dir;
  test::WriteFileBytes(dir.File("QLMXEnStr.ini"),
                       "[STRING]\nS_MEASUREVIEW_LLIMIT=Low:\nS_MEASUREVIEW_HLIMIT=High:\n");
  strings::SetStringTablePath(dir.File("QLMXEnStr.ini"));
  MeasurementSettings s;  // PX420B
  s.SetLimits(kAvg, 30, 50.5f);
  s.SetLimits(kVswr, 1, 1.25f);
  s.SetRelative(true);  // limits stay absolute
  EXPECT_EQ(LimitText(s, kAvg, false), "Low: 30.00 dBm");
  EXPECT_EQ(LimitText(s, kVswr, true), "High: 1.25 : 1");
  EXPECT_EQ(LimitText(s, kCcdf, false), "");
  s.SetDecimals(3);
  EXPECT_EQ(LimitText(s, kAvg, true), "High:  dBm");
  s.SetDecimals(1);
  s.SetModelCode(model::kPX470A);
  s.SetLimits(kVswr, 0, 12.25f);
  EXPECT_EQ(LimitText(s, kVswr, true), "High: 12.2 dB");
}

}  // namespace
}  // namespace wattrix
