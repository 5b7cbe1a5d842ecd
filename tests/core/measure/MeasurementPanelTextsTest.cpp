#include "core/measure/MeasurementPanelTexts.h"

#include "core/vocabulary/SensorModel.h"
#include "core/measure/AnalogGauge.h"
#include "core/measure/MeasurementSettings.h"
#include "core/platform/HostPaths.h"
#include "core/strings/StringTable.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace wattrix {
namespace {

using namespace panel_item;

class PanelTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    strings::SetStringTablePath(HostPaths::ExecutableDir() + "/" + strings::kFileName);
  }
  void TearDown() override { strings::SetStringTablePath(""); }

  // A fresh run of one quantity with these readings, refreshed as `kind`.
  void Show(Quantity quantity, std::initializer_list<float> readings, PanelRefresh kind = PanelRefresh::All) {
    m_settings.ResetHistories();
    for (const float r : readings) m_settings.AddReading(quantity, r);
    m_texts.Refresh(m_settings, quantity, kind, m_gauge);
  }
  const std::string& T(int item) const { return m_texts.Text(item); }

  MeasurementSettings m_settings;
  MeasurementPanelTexts m_texts;
  AnalogGauge m_gauge;
};

TEST_F(PanelTexts, PowerReadingsWithTheirWattsInBothDisplayModes) {
  m_settings.SetDecimals(1);
  Show(kAvg, {-12.345f});
  EXPECT_EQ(T(kValue), "-12.3 dBm");
  EXPECT_EQ(T(kSecondary), "58.3 uW");
  EXPECT_EQ(T(kReference), "Ref: -12.3 dBm");
  EXPECT_EQ(T(kQuantityName), "AVG");
  EXPECT_EQ(T(kDisplayMode), "Absolute");

  m_settings.SetDecimals(2);
  // 0.5 W, 1.5 W, 0.00005 W and exactly 1 W as readings in dBm.
  const struct {
    float dbm;
    const char* text;
  } watts[] = {{26.9897f, "500.00 mW"}, {31.7609f, "1.50 W"}, {-13.0103f, "50.00 uW"}, {30.0f, "1000.00 mW"}};
  for (const auto& w : watts) {
    Show(kPeak, {w.dbm}, PanelRefresh::Values);
    EXPECT_EQ(T(kSecondary), w.text) << w.dbm;
  }

  m_settings.SetRelative(true);
  m_settings.SetDisplayRange(kAvg, -30, 30);
  Show(kAvg, {10.0f, 12.5f, 7.0f});
  EXPECT_EQ(T(kValue), "-3.00 dB");
  EXPECT_EQ(T(kMinimum), "Min: -3.00 dB");
  EXPECT_EQ(T(kMaximum), "Max: 2.50 dB");
  EXPECT_EQ(T(kReference), "Ref: 10.00 dBm");
  EXPECT_EQ(T(kSecondary), "5.01 mW");  // the absolute power
  EXPECT_EQ(T(kDisplayMode), "Relative");
  EXPECT_DOUBLE_EQ(m_gauge.Value(), 7.0);  // the needle stays absolute

  m_settings.SetDecimals(3);  // not a decimals setting: no numbers at all
  Show(kRev, {5.0f}, PanelRefresh::Values);
  EXPECT_EQ(T(kValue), " dB");
  EXPECT_EQ(T(kMinimum), "Min:  dB");
}

TEST_F(PanelTexts, VswrShowsReturnLossOrNaAndParHasNoSecondaryValue) {
  const struct {
    float vswr;
    const char* secondary;
  } cases[] = {{1.0f, "Return Loss: N/A"},
               {0.5f, "Return Loss: N/A"},
               {1.0001f, "Return Loss: -60.00 dB"},
               {65.0f, "Return Loss: -0.27 dB"},
               {1.5f, "Return Loss: -13.98 dB"}};
  for (const auto& c : cases) {
    Show(kVswr, {c.vswr});
    EXPECT_EQ(T(kSecondary), c.secondary) << c.vswr;
  }
  Show(kVswr, {1.2f, 1.5f});
  EXPECT_EQ(T(kValue), "1.50 : 1");
  EXPECT_EQ(T(kReference), "Ref: 1.20 : 1");
  EXPECT_EQ(T(kMaximum), "Max: 1.50 : 1");
  EXPECT_EQ(T(kQuantityName), "VSWR");
  EXPECT_EQ(GaugeUnitText(model::kPX420B, kVswr), "VSWR");

  m_settings.SetModelCode(model::kPX470A);
  m_settings.SetRelative(true);  // PAR ignores the display mode
  Show(kVswr, {4.0f, 6.0f});
  EXPECT_EQ(T(kQuantityName), "PAR");
  EXPECT_EQ(T(kValue), "6.00 dB");
  EXPECT_EQ(T(kMinimum), "Min: 4.00 dB");
  EXPECT_EQ(T(kSecondary), "");
  EXPECT_EQ(GaugeUnitText(model::kPX470B, kVswr), "PAR");
  EXPECT_EQ(GaugeUnitText(model::kPX470A, kPulse), "dBm");
  EXPECT_EQ(PanelQuantityName(model::kPX470A, kPeak), "PEAK");
}

TEST_F(PanelTexts, HeaderScaleAndLimitsComeFromTheSettings) {
  m_settings.SetModelCode(model::kPX420B);
  m_settings.SetSerialNumber("12345");
  m_settings.SetFrequency(2400.0f);
  m_settings.SetExternalOffset(-1.5f);
  m_settings.SetTechnology(0);
  m_settings.SetDisplayRange(kAvg, 20, 60);
  m_settings.SetLimits(kAvg, 30, 50);
  m_settings.SetLimitCheck(kAvg, true);
  Show(kAvg, {42.0f});
  EXPECT_EQ(T(kModel), "Model: PX420B");
  EXPECT_EQ(T(kSerial), "S/N: 12345");
  EXPECT_EQ(T(kSensorType), "Type: " + m_settings.SensorTypeText());
  EXPECT_EQ(T(kFrequency), "Frequency: 2400.00 MHz");
  EXPECT_EQ(T(kOffset), "Ext. Offset: -1.50 dB");
  EXPECT_EQ(T(kTechnology), "Technology:  LTE-TDD");
  EXPECT_EQ(T(kLowLimit), "Low Limit: 30.00 dBm");
  EXPECT_EQ(T(kHighLimit), "High Limit: 50.00 dBm");
  EXPECT_EQ(m_gauge.Minimum(), 20);
  EXPECT_EQ(m_gauge.Maximum(), 60);
  ASSERT_EQ(m_gauge.Thresholds().size(), 3u);
  EXPECT_EQ(m_gauge.Thresholds()[1], (MeterThreshold{0xFF008000, 30, 50}));

  // Limit check off: the zones go, the hidden limit texts are left alone.
  m_settings.SetLimitCheck(kAvg, false);
  Show(kAvg, {42.0f}, PanelRefresh::Limits);
  EXPECT_TRUE(m_gauge.Thresholds().empty());
  EXPECT_EQ(T(kLowLimit), "Low Limit: 30.00 dBm");

  // Another model carries no technology.
  m_settings.SetModelCode(model::kPX440A);
  Show(kAvg, {42.0f});
  EXPECT_EQ(T(kTechnology), "");
  EXPECT_EQ(T(kModel), "Model: PX440A");
}

TEST_F(PanelTexts, ValueRefreshTouchesOnlyTheReadingItemsAndTheNeedle) {
  m_settings.SetDisplayRange(kPulse, -10, 30);
  m_settings.SetLimitCheck(kPulse, true);
  m_settings.SetLimits(kPulse, 0, 10);
  Show(kPulse, {3.0f});
  const auto header = m_texts.Texts();
  const auto zones = m_gauge.Thresholds();

  m_settings.SetFrequency(915.0f);
  m_settings.SetDisplayRange(kPulse, 0, 5);
  m_settings.SetLimits(kPulse, 1, 2);
  m_settings.SetDutyCycle(50.0f);
  m_settings.SetBurstWidth(1.207f);
  Show(kPulse, {8.0f}, PanelRefresh::Values);
  for (const int item : {0, 1, 2, 3, 4, 5, 11, 12, 13, 16})
    EXPECT_EQ(T(item), header[static_cast<std::size_t>(item)]) << item;
  EXPECT_EQ(m_gauge.Minimum(), -10);
  EXPECT_EQ(m_gauge.Thresholds(), zones);
  EXPECT_DOUBLE_EQ(m_gauge.Value(), 8.0);
  EXPECT_EQ(T(kValue), "8.00 dBm");
  EXPECT_EQ(T(kDutyCycle), "Duty Cycle [A] 50.00 %");
  EXPECT_EQ(T(kBurstWidth), "Burst Width   1.207 us");

  // 0 / 0 and n / 0 of the pulse counts.
  m_settings.SetDutyCycle(std::numeric_limits<float>::quiet_NaN());
  m_settings.SetBurstWidth(std::numeric_limits<float>::infinity());
  Show(kPulse, {8.0f}, PanelRefresh::Values);
  EXPECT_EQ(T(kDutyCycle), "Duty Cycle [A] N/A");
  EXPECT_EQ(T(kBurstWidth), "Burst Width   N/A");

  // The panel switched to another quantity drops the pulse figures.
  Show(kPeak, {1.0f});
  EXPECT_EQ(T(kDutyCycle), "");
  EXPECT_EQ(T(kBurstWidth), "");

  // CCDF and anything else have no panel: nothing changes.
  const auto before = m_texts.Texts();
  // Values outside the enumerators only come from a cast.
  for (const Quantity q : {static_cast<Quantity>(-1), kCcdf, static_cast<Quantity>(9)})
    m_texts.Refresh(m_settings, q, PanelRefresh::All, m_gauge);
  EXPECT_EQ(m_texts.Texts(), before);
}

// A refresh tells which texts changed, so that a window repaints only
// those: a panel whose reading did not change is not repainted at all.
TEST_F(PanelTexts, RefreshReportsTheTextsThatChanged) {
  const auto bit = [](int item) { return std::uint32_t{1} << item; };
  m_settings.ResetHistories();
  m_settings.AddReading(kAvg, 30.0f);
  const std::uint32_t all = m_texts.Refresh(m_settings, kAvg, PanelRefresh::All, m_gauge);
  for (const int item : {kModel, kQuantityName, kValue, kSecondary, kMinimum, kMaximum})
    EXPECT_TRUE(all & bit(item)) << item;
  EXPECT_EQ(m_texts.Refresh(m_settings, kAvg, PanelRefresh::All, m_gauge), 0u);

  // The same reading again: nothing changed.
  m_settings.AddReading(kAvg, 30.0f);
  EXPECT_EQ(m_texts.Refresh(m_settings, kAvg, PanelRefresh::Values, m_gauge), 0u);
  // A lower one: value, its watts and the minimum; first and maximum stay.
  m_settings.AddReading(kAvg, 29.5f);
  EXPECT_EQ(m_texts.Refresh(m_settings, kAvg, PanelRefresh::Values, m_gauge),
            bit(kValue) | bit(kSecondary) | bit(kMinimum));
  // Within the shown decimals: the texts stay, only the needle moves.
  m_settings.AddReading(kAvg, 29.500002f);
  EXPECT_EQ(m_texts.Refresh(m_settings, kAvg, PanelRefresh::Values, m_gauge), 0u);
  EXPECT_DOUBLE_EQ(m_gauge.Value(), 29.500002f);
  // Limits switched on: the limit texts appear.
  m_settings.SetLimitCheck(kAvg, true);
  EXPECT_EQ(m_texts.Refresh(m_settings, kAvg, PanelRefresh::Limits, m_gauge),
            bit(kLowLimit) | bit(kHighLimit));
  EXPECT_EQ(m_texts.Refresh(m_settings, static_cast<Quantity>(-1), PanelRefresh::All, m_gauge), 0u);
}

}  // namespace
}  // namespace wattrix
