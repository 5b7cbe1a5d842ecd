#include "core/ccdf/CcdfAccumulator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace wattrix {
namespace {

using Result = CcdfAccumulator::SweepResult;

// A sweep whose only bin identifies it.
CcdfHistogram Tagged(int tag) { return CcdfHistogram{{1000 + tag, 50}}; }

int TagOf(const CcdfAccumulator::Sweep& sweep) { return sweep.front().key - 1000; }

TEST(CcdfAccumulatorWindow, MovingWindowSingleMeasurementAndLoweredRate) {
  CcdfAccumulator acc;
  acc.SetSweepWindowFromRate(0);
  for (int i = 1; i <= 11; ++i) ASSERT_EQ(acc.ProcessSweep(Tagged(i), 7), Result::Processed);
  ASSERT_EQ(acc.StoredSweeps(), 10);
  EXPECT_EQ(TagOf(acc.SweepList().front()), 2);
  EXPECT_EQ(TagOf(acc.SweepList().back()), 11);

  // Single measurement: the tenth delivery completes the window and is stored.
  CcdfAccumulator single;
  single.SetSweepWindowFromRate(0);
  for (int i = 1; i <= 9; ++i) {
    EXPECT_FALSE(single.CompletesWindow()) << i;
    single.ProcessSweep(Tagged(i), 7);
  }
  EXPECT_TRUE(single.CompletesWindow());
  single.ProcessSweep(Tagged(10), 7);
  EXPECT_EQ(single.StoredSweeps(), 10);

  // Lowering RATE below the stored count restarts the window with the next sweep.
  CcdfAccumulator lowered;
  lowered.SetSweepWindowFromRate(1);
  EXPECT_EQ(lowered.SweepWindow(), 20);
  for (int i = 1; i <= 15; ++i) lowered.ProcessSweep(Tagged(i), 7);
  lowered.SetSweepWindowFromRate(0);
  lowered.ProcessSweep(Tagged(16), 7);
  ASSERT_EQ(lowered.StoredSweeps(), 1);
  EXPECT_EQ(TagOf(lowered.SweepList().front()), 16);
  EXPECT_EQ(lowered.Statistics().SampleTotal, 50u);

  EXPECT_EQ(CcdfAccumulator::SweepWindowForRate(2), 50);
  EXPECT_EQ(CcdfAccumulator::SweepWindowForRate(3), 100);
  EXPECT_EQ(CcdfAccumulator::SweepWindowForRate(4), 10);
  EXPECT_EQ(CcdfAccumulator::SweepWindowForRate(-1), 10);
}

TEST(CcdfAccumulatorCurve, SingleBinOfTenThousandSamples) {
  CcdfAccumulator acc;
  ASSERT_EQ(acc.ProcessSweep(CcdfHistogram{{1234, 10000}}, 1), Result::Processed);
  const auto& s = acc.Statistics();
  EXPECT_EQ(s.SampleTotal, 10000u);
  EXPECT_NEAR(s.AveragePower, 12.34 - 0.2, 1e-5);
  EXPECT_DOUBLE_EQ(s.PeakPower, 12.34);
  EXPECT_NEAR(s.CrestFactor, 0.2, 1e-5);  // minus the WCDMA correction
  ASSERT_EQ(acc.CcdfCurve().size(), 1u);
  EXPECT_FLOAT_EQ(acc.CcdfCurve()[0].logProbability, -4.0f);  // one sample in 10,000
  EXPECT_NEAR(acc.CcdfCurve()[0].relativePower, 0.2f, 1e-5);
}

TEST(CcdfAccumulatorCurve, HundredThousandSamplesCrossAtTheTenthHighest) {
  // Ten single samples at the top (30.00 … 29.10 dBm), the rest at 10 and 9 dBm.
  CcdfHistogram h{{1000, 50000}, {900, 49990}};
  for (int i = 0; i < 10; ++i) h[3000 - 10 * i] = 1;
  CcdfAccumulator acc;
  ASSERT_EQ(acc.ProcessSweep(h, 7), Result::Processed);
  const auto& s = acc.Statistics();
  ASSERT_EQ(s.SampleTotal, 100000u);
  EXPECT_DOUBLE_EQ(s.PeakPower, 29.10);
  EXPECT_DOUBLE_EQ(s.CrestFactor, 29.10 - s.AveragePower);
  const double avg = s.AveragePower;
  ASSERT_GT(10.0, avg);
  ASSERT_LT(9.0, avg);

  // The crossing bin at its first sample, then the 10 dBm bin; 9 dBm is below the average.
  ASSERT_EQ(acc.CcdfCurve().size(), 2u);
  EXPECT_FLOAT_EQ(acc.CcdfCurve()[0].logProbability, static_cast<float>(std::log10(10.0f / 100000)));
  EXPECT_FLOAT_EQ(acc.CcdfCurve()[0].relativePower, static_cast<float>(29.10 - avg));
  EXPECT_FLOAT_EQ(acc.CcdfCurve()[1].logProbability, static_cast<float>(std::log10(50010.0f / 100000)));

  // 10 %, 1 % and 0.1 % all fall in the 10 dBm bin, 0.01 % in the crossing bin,
  // 0.001 % in the bin of the highest sample.
  for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(s.LevelAt[i], 10.0 - avg) << i;
  EXPECT_DOUBLE_EQ(s.LevelAt[3], 29.10 - avg);
  EXPECT_DOUBLE_EQ(s.LevelAt[4], 30.0 - avg);
}

TEST(CcdfAccumulatorStatistics, ProbabilitiesAtLevelsAndTheirGuard) {
  // A signal around −30 dBm: its 0.01 % power in dBm is below every level,
  // yet the curve reaches 20 dB above the average, so all reached levels get
  // a probability (the guard compares the crest factor).
  const CcdfHistogram a{{-3000, 100000}, {-2250, 10}, {-1850, 10}, {-1750, 10}, {-1350, 10}, {-920, 10}};
  CcdfAccumulator acc;
  acc.SetSweepWindowFromRate(1);
  ASSERT_EQ(acc.ProcessSweep(a, 7), Result::Processed);
  const auto& s = acc.Statistics();
  const double avg = s.AveragePower;
  ASSERT_NEAR(avg, -29.9, 0.1);
  EXPECT_DOUBLE_EQ(s.PeakPower, -9.20);  // no bin crosses 0.01 %: the highest bin
  ASSERT_GT(s.CrestFactor, 20.0);

  const double n = 100050;
  auto pct = [&](double samples) { return samples / n * 100.0; };
  EXPECT_DOUBLE_EQ(s.ProbabilityAt[4], pct(1));   // 20 dB: bin above it, its first sample
  EXPECT_DOUBLE_EQ(s.ProbabilityAt[3], pct(11));  // 16 dB: the 16.5 dB bin, above it
  EXPECT_DOUBLE_EQ(s.ProbabilityAt[2], pct(21));  // 12 dB: 12.5 nearer than 11.5, above it
  EXPECT_DOUBLE_EQ(s.ProbabilityAt[1], pct(50));  // 8 dB: the 7.5 dB bin, below it, its last sample
  EXPECT_DOUBLE_EQ(s.ProbabilityAt[0], 0.0);      // 4 dB: no bin within 1 dB

  // Fill the window with `a`, then lower the rate so that the next sweep,
  // which has no bin near 16 dB, is the only one: 16 dB keeps its value.
  for (int i = 0; i < 10; ++i) acc.ProcessSweep(a, 7);
  acc.SetSweepWindowFromRate(0);
  const double before = s.ProbabilityAt[3];
  const CcdfHistogram b{{-3000, 100000}, {-2600, 10}, {-920, 10}};
  ASSERT_EQ(acc.ProcessSweep(b, 7), Result::Processed);
  ASSERT_EQ(acc.StoredSweeps(), 1);
  EXPECT_DOUBLE_EQ(s.ProbabilityAt[3], before);
  EXPECT_DOUBLE_EQ(s.ProbabilityAt[0], 20 / 100020.0 * 100.0);  // now a bin lies within 1 dB of 4 dB

  // A curve that stays below a level leaves it untouched even with bins near it.
  CcdfAccumulator low;
  low.ProcessSweep(CcdfHistogram{{0, 100000}, {350, 5}, {380, 20}}, 7);
  ASSERT_LT(low.Statistics().CrestFactor, 4.0);
  EXPECT_DOUBLE_EQ(low.Statistics().ProbabilityAt[0], 0.0);
}

TEST(CcdfAccumulatorStatistics, TechnologyCorrectionShiftsEveryRelativeValue) {
  const CcdfHistogram h{{-500, 60000}, {-200, 30000}, {100, 9000}, {400, 990}, {900, 10}};
  CcdfAccumulator wcdma, cdma;
  wcdma.ProcessSweep(h, 1);
  cdma.ProcessSweep(h, 2);
  const auto& w = wcdma.Statistics();
  const auto& c = cdma.Statistics();
  EXPECT_NEAR(c.AveragePower - w.AveragePower, 0.2, 1e-12);
  EXPECT_NEAR(w.CrestFactor - c.CrestFactor, 0.2, 1e-12);
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(w.LevelAt[i] - c.LevelAt[i], 0.2, 1e-12) << i;
  ASSERT_EQ(wcdma.CcdfCurve().size(), cdma.CcdfCurve().size());
  for (std::size_t i = 0; i < cdma.CcdfCurve().size(); ++i) {
    EXPECT_NEAR(wcdma.CcdfCurve()[i].relativePower - cdma.CcdfCurve()[i].relativePower, 0.2f, 1e-5f);
  }
  EXPECT_DOUBLE_EQ(CcdfAccumulator::TechnologyCorrection(0), -0.7);
  EXPECT_DOUBLE_EQ(CcdfAccumulator::TechnologyCorrection(3), -0.7);
  EXPECT_DOUBLE_EQ(CcdfAccumulator::TechnologyCorrection(7), 0.0);
}

TEST(CcdfAccumulatorSweep, EmptyHistogramKeepsTheWindowAndReset) {
  CcdfAccumulator acc;
  acc.ProcessSweep(CcdfHistogram{{500, 100}, {800, 10}}, 7);
  acc.ProcessSweep(CcdfHistogram{{500, 200}}, 7);
  const auto levels = acc.Statistics().LevelAt;
  ASSERT_NE(levels[1], 0.0);  // 1 % falls in the 8 dBm bin

  EXPECT_EQ(acc.ProcessSweep(CcdfHistogram{}, 7), Result::EmptyHistogram);
  EXPECT_EQ(acc.ProcessSweep(CcdfHistogram{{600, 0}}, 7), Result::EmptyHistogram);
  EXPECT_TRUE(acc.CcdfCurve().empty());
  EXPECT_TRUE(acc.MergedHistogram().empty());
  EXPECT_EQ(acc.Statistics().SampleTotal, 0u);
  EXPECT_EQ(acc.Statistics().AveragePower, 0.0);
  EXPECT_EQ(acc.Statistics().PeakPower, 0.0);
  EXPECT_EQ(acc.Statistics().CrestFactor, 0.0);
  EXPECT_EQ(acc.Statistics().LevelAt, levels);
  EXPECT_EQ(acc.StoredSweeps(), 2);

  // The next sweep merges everything still stored.
  acc.ProcessSweep(CcdfHistogram{{700, 1}}, 7);
  EXPECT_EQ(acc.Statistics().SampleTotal, 311u);
  EXPECT_EQ(acc.MergedHistogram().size(), 3u);

  acc.Reset();
  EXPECT_EQ(acc.StoredSweeps(), 0);
  EXPECT_TRUE(acc.MergedHistogram().empty());
  EXPECT_TRUE(acc.CcdfCurve().empty());
  EXPECT_EQ(acc.Statistics().LevelAt, (std::array<double, 5>{}));
  EXPECT_EQ(acc.Statistics().ProbabilityAt, (std::array<double, 5>{}));
}

TEST(CcdfAccumulatorMerge, IncrementalSumEqualsReMergeOverRandomSweeps) {
  std::mt19937 rng(20240611);
  CcdfAccumulator acc;
  for (int delivery = 0; delivery < 400; ++delivery) {
    if (rng() % 23 == 0) acc.SetSweepWindowFromRate(static_cast<int>(rng() % 5));
    CcdfHistogram h;
    if (rng() % 31 != 0) {
      // Sweeps of shifting extent and density, sometimes far apart.
      const int start = 2000 + static_cast<int>(rng() % 400) * (rng() % 7 == 0 ? 10 : 1);
      const int bins = 1 + static_cast<int>(rng() % 300);
      const int step = 1 + static_cast<int>(rng() % 10);
      for (int i = 0; i < bins; ++i) {
        if (rng() % 4 == 0) continue;
        h[start + i * step] = static_cast<int>(rng() % 2000) - 50;  // some non-positive counts
      }
    }
    acc.ProcessSweep(h, 7);
    const auto expected = CcdfAccumulator::MergeStraightforward(acc.SweepList());
    const auto merged = acc.MergedHistogram();
    if (merged.empty() && !expected.empty()) continue;  // an empty delivery hides the sum
    ASSERT_EQ(merged.size(), expected.size()) << "delivery " << delivery;
    auto it = expected.begin();
    std::uint64_t total = 0;
    for (const auto& bin : merged) {
      ASSERT_EQ(bin.key, it->first) << "delivery " << delivery;
      ASSERT_EQ(bin.count, it->second) << "delivery " << delivery;
      total += static_cast<std::uint64_t>(bin.count);
      ++it;
    }
    ASSERT_EQ(acc.Statistics().SampleTotal, total);
    ASSERT_LE(acc.StoredSweeps(), acc.SweepWindow());
  }
}

}  // namespace
}  // namespace wattrix
