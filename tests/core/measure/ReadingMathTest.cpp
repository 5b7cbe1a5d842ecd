#include "core/measure/ReadingMath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wattrix {
namespace {

using namespace reading_math;

TEST(ReadingMathVswr, ReturnLossPathsAndClamps) {
  const float expected = 11.0f / 9.0f + 0.005f;  // RL 20 dB: (10 + 1) / (10 − 1) + 0.005
  EXPECT_NEAR(VswrFromReadings(40.0f, 20.0f), expected, 1e-6);
  EXPECT_NEAR(VswrFromRaw(4000, 2000), expected, 1e-6);
  EXPECT_NEAR(VswrFromReturnLoss(2000), 1.2272, 1e-4);

  // No reflection measured (reverse at or above forward): 9999, clamped to 65.
  EXPECT_EQ(VswrFromReadings(20.0f, 20.0f), 65.0f);
  EXPECT_EQ(VswrFromReadings(20.0f, 25.0f), 65.0f);
  EXPECT_EQ(VswrFromRaw(2000, 2000), 65.0f);
  EXPECT_EQ(VswrFromRaw(1999, 2000), 65.0f);
  // A forward reading outside ±100 dBm counts as no return loss.
  EXPECT_EQ(VswrFromReadings(150.0f, 20.0f), 65.0f);
  EXPECT_EQ(VswrFromReadings(-100.0f, -120.0f), 65.0f);
  EXPECT_LT(VswrFromReadings(99.9f, 20.0f), 1.01f);
  // A tiny return loss gives a huge ratio, held at 65; a large one stays above 1.
  EXPECT_EQ(VswrFromReturnLoss(1), 65.0f);
  EXPECT_EQ(VswrFromReturnLoss(1e-300), 65.0f);
  EXPECT_NEAR(VswrFromReturnLoss(6000), 1.007f, 1e-4);
  // A difference of raw values so large that 10^x overflows: the limit, not NaN.
  EXPECT_FLOAT_EQ(VswrFromReturnLoss(1e6), 1.005f);
  EXPECT_FLOAT_EQ(VswrFromRaw(2000000000, -2000000000), 1.005f);
}

TEST(ReadingMathPower, OffsetParAndTechnologyCorrections) {
  EXPECT_FLOAT_EQ(WithOffset(4000, 1.5f), 41.5f);
  EXPECT_FLOAT_EQ(WithOffset(-1234, 0.0f), -12.34f);
  EXPECT_FLOAT_EQ(Par(10.0f, 4.0f), 6.0f);

  // Technology 7 (and 6, and unknown values): no correction at any frequency.
  for (double f : {100.0, 299.0, 300.0, 500.0, 1000.0, 2400.0}) {
    EXPECT_EQ(AverageTechnologyCorrection(7, f, 30), 0.0) << f;
    EXPECT_EQ(AverageTechnologyCorrection(6, f, 30), 0.0) << f;
    EXPECT_EQ(AverageTechnologyCorrection(42, f, 30), 0.0) << f;
    EXPECT_EQ(PulseCorrected(7, f, 30), 30.0) << f;
    EXPECT_EQ(PulseCorrected(1, f, 30), 30.0) << f;
  }
  // LTE-TDD at 2400 MHz: forward and reverse −1.3 dB, pulse −1.5 − 0.45 dB.
  EXPECT_DOUBLE_EQ(40.0 - AverageTechnologyCorrection(0, 2400, 40), 38.7);
  EXPECT_DOUBLE_EQ(PulseCorrected(0, 2400, 10), 10 - 1.5 - 0.45);
  EXPECT_DOUBLE_EQ(PulseCorrected(3, 2400, 10), 10 - 0.7 + 2.2);
  EXPECT_DOUBLE_EQ(PulseCorrected(4, 2400, 10), 10 - 0.2 - 0.5);
  EXPECT_DOUBLE_EQ(AverageTechnologyCorrection(1, 1000.5, 0), 0.2);
  EXPECT_DOUBLE_EQ(AverageTechnologyCorrection(2, 2400, 0), 0.0);

  // 300..1000 MHz: (a1 L + a0) + |P − K| (b1 L + b0), L = ln(f/100 − 2).
  const double l500 = std::log(3.0);
  EXPECT_NEAR(AverageTechnologyCorrection(0, 500, 34), 0.6349 * l500 + 0.1991, 1e-12);
  EXPECT_NEAR(AverageTechnologyCorrection(0, 500, 24), 0.6349 * l500 + 0.1991 + 10 * (-0.029 * l500 + 0.0597),
              1e-12);
  EXPECT_NEAR(AverageTechnologyCorrection(0, 500, 44), AverageTechnologyCorrection(0, 500, 24), 1e-12);
  EXPECT_NEAR(AverageTechnologyCorrection(0, 300, 34), 0.1991, 1e-12);  // L = 0 at the band's start
  EXPECT_NEAR(AverageTechnologyCorrection(3, 1000, 36), 0.5383 * std::log(8.0) - 0.3433, 1e-12);
  EXPECT_EQ(AverageTechnologyCorrection(2, 500, 20),
            AverageTechnologyCorrection(5, 500, 20));  // CDMA = EV-DO
  EXPECT_EQ(AverageTechnologyCorrection(0, 299.9, 34), 0.0);
  EXPECT_NEAR(PulseCorrected(4, 700, 30),
              30 - (0.271 * std::log(5.0) - 0.5422 + 4 * (-0.015 * std::log(5.0) + 0.0292)) - 0.5, 1e-12);
  EXPECT_DOUBLE_EQ(PulseCorrected(0, 250, 10), 10 - 0.45);  // below 300 MHz only the trailing constant
}

TEST(ReadingMathPulse, DutyCycleAndBurstWidth) {
  EXPECT_FLOAT_EQ(DutyCyclePercent(500, 1, 7), 50.0f);  // the fixed setting wins
  EXPECT_FLOAT_EQ(DutyCyclePercent(0, 1, 4), 25.0f);
  EXPECT_TRUE(std::isnan(DutyCyclePercent(0, 0, 0)));
  EXPECT_TRUE(std::isnan(DutyCyclePercent(0, 5, 0)));  // infinite: reported as not a number
  EXPECT_FLOAT_EQ(DutyCyclePercent(0, 0, 5), 0.0f);

  EXPECT_FLOAT_EQ(BurstWidth(10, 5, 1), 2.414f);
  EXPECT_FLOAT_EQ(BurstWidth(10, 5, 2), 5.244f);
  EXPECT_FLOAT_EQ(BurstWidth(10, 5, 4), 11.114f);
  EXPECT_FLOAT_EQ(BurstWidth(10, 5, 8), 21.64f);
  EXPECT_FLOAT_EQ(BurstWidth(10, 5, 16), static_cast<float>(2 * 21.6450216450216));
  EXPECT_FLOAT_EQ(BurstWidth(10, 5, 3), static_cast<float>(2 * 21.6450216450216));
  EXPECT_TRUE(std::isnan(BurstWidth(0, 0, 1)));
  EXPECT_TRUE(std::isnan(BurstWidth(3, 0, 1)));
}

}  // namespace
}  // namespace wattrix
