#include "core/ccdf/CcdfAccumulator.h"

#include <algorithm>
#include <cmath>

namespace wattrix {

namespace {

// The curve's probabilities are single precision before the logarithm.
float Log10OfF32(double fraction) { return std::log10(static_cast<float>(fraction)); }

double KeyToDb(std::int32_t key) { return static_cast<double>(key) / 100.0; }

double Milliwatts(std::int32_t key) { return std::pow(10.0, KeyToDb(key) / 10.0); }

}  // namespace

int CcdfAccumulator::SweepWindowForRate(int rate) {
  switch (rate) {
    case 1:
      return 20;
    case 2:
      return 50;
    case 3:
      return 100;
    default:
      return 10;
  }
}

double CcdfAccumulator::TechnologyCorrection(int technology) {
  switch (technology) {
    case 0:
      return -0.7;  // LTE-TDD
    case 1:
      return -0.2;  // WCDMA
    case 3:
      return -0.7;  // WiMAX
    default:
      return 0.0;
  }
}

std::span<const CcdfAccumulator::MergedBin> CcdfAccumulator::MergedHistogram() const {
  if (!m_mergedShown) return {};
  return m_merged;
}

void CcdfAccumulator::Reset() {
  m_sweeps.clear();
  m_merged.clear();
  m_mergedShown = false;
  m_curve.clear();
  m_stats = CcdfStatistics{};
}

CcdfAccumulator::SweepResult CcdfAccumulator::ProcessSweep(const CcdfHistogram& histogram, int technology) {
  // The previous curve and average go first; levels and probabilities stay
  // until this sweep overwrites them.
  m_curve.clear();
  m_mergedShown = false;
  m_stats.SampleTotal = 0;
  m_stats.AveragePower = 0;
  m_stats.PeakPower = 0;
  m_stats.CrestFactor = 0;

  // One pass over the delivered map; only positive counts are kept.
  m_incoming.clear();
  m_incoming.reserve(histogram.size());
  for (const auto& [key, count] : histogram) {
    if (count > 0) m_incoming.push_back(SweepBin{key, count});
  }
  if (m_incoming.empty()) return SweepResult::EmptyHistogram;

  StoreIncoming();
  m_mergedShown = true;
  WalkAscending();
  m_stats.AveragePower += TechnologyCorrection(technology);
  BuildCurve();
  m_stats.CrestFactor = m_stats.PeakPower - m_stats.AveragePower;
  ComputeStatistics();
  return SweepResult::Processed;
}

void CcdfAccumulator::StoreIncoming() {
  Sweep evicted;
  const auto stored = m_sweeps.size();
  const auto window = static_cast<std::size_t>(m_sweepWindow);
  if (stored > window) {
    // The setting was lowered: start the window afresh with this sweep.
    m_sweeps.clear();
    m_merged.clear();
  } else if (stored == window) {
    evicted = std::move(m_sweeps.front());
    m_sweeps.pop_front();
    SubtractFromMerged(evicted);
  }
  AddToMerged(m_incoming);
  m_sweeps.push_back(std::move(m_incoming));
  m_incoming = std::move(evicted);  // its storage takes the next sweep
}

void CcdfAccumulator::AddToMerged(const Sweep& sweep) {
  m_scratch.clear();
  m_scratch.reserve(m_merged.size() + sweep.size());
  auto a = m_merged.begin();
  auto b = sweep.begin();
  while (a != m_merged.end() && b != sweep.end()) {
    if (a->key < b->key) {
      m_scratch.push_back(*a++);
    } else if (b->key < a->key) {
      m_scratch.push_back(MergedBin{b->key, b->count, Milliwatts(b->key)});
      ++b;
    } else {
      m_scratch.push_back(MergedBin{a->key, a->count + b->count, a->milliwatts});
      ++a;
      ++b;
    }
  }
  m_scratch.insert(m_scratch.end(), a, m_merged.end());
  for (; b != sweep.end(); ++b) m_scratch.push_back(MergedBin{b->key, b->count, Milliwatts(b->key)});
  m_merged.swap(m_scratch);
}

void CcdfAccumulator::SubtractFromMerged(const Sweep& sweep) {
  // Every count is positive, so a merged count drops to 0 exactly when no
  // stored sweep has that key any more: dropping it matches a re-merge.
  std::size_t out = 0;
  auto b = sweep.begin();
  for (std::size_t i = 0; i < m_merged.size(); ++i) {
    MergedBin bin = m_merged[i];
    while (b != sweep.end() && b->key < bin.key) ++b;
    if (b != sweep.end() && b->key == bin.key) {
      bin.count -= b->count;
      ++b;
    }
    if (bin.count != 0) m_merged[out++] = bin;
  }
  m_merged.resize(out);
}

CcdfAccumulator::Merged CcdfAccumulator::MergeStraightforward(const std::deque<Sweep>& sweeps) {
  Merged merged;
  for (const auto& sweep : sweeps) {
    for (const auto& bin : sweep) merged[bin.key] += bin.count;
  }
  return merged;
}

void CcdfAccumulator::WalkAscending() {
  std::uint64_t total = 0;
  double sum = 0;  // linear milliwatts
  double peak = 0;
  for (const auto& bin : m_merged) {
    total += static_cast<std::uint64_t>(bin.count);
    sum += static_cast<double>(bin.count) * bin.milliwatts;
    peak = KeyToDb(bin.key);
  }
  m_stats.SampleTotal = total;
  m_stats.PeakPower = peak;
  const auto meanMilliwatts = static_cast<float>(sum / static_cast<double>(total));
  m_stats.AveragePower = 10.0 * std::log10(static_cast<double>(meanMilliwatts));
}

void CcdfAccumulator::BuildCurve() {
  const auto total = static_cast<double>(m_stats.SampleTotal);
  m_curve.reserve(m_merged.size());
  std::int64_t cum = 0;
  for (auto it = m_merged.rbegin(); it != m_merged.rend(); ++it) {
    const double u = KeyToDb(it->key) - m_stats.AveragePower;
    if (u < 0) break;  // a bin exactly at the average is still plotted
    // Probabilities (percent) of the bin's first and last sample, ranked
    // from the highest power down.
    const double first = static_cast<double>(cum + 1) / total * 100.0;
    cum += it->count;
    const double last = static_cast<double>(cum) / total * 100.0;
    if (first > 0.01 && last > 0.01) {
      m_curve.push_back(CcdfPoint{Log10OfF32(static_cast<double>(cum) / total), static_cast<float>(u)});
    } else if (first <= 0.01 && last >= 0.01) {
      // The bin where the curve passes 0.01 %: plotted at its first sample.
      const double fraction = static_cast<double>(cum - it->count + 1) / total;
      m_curve.push_back(CcdfPoint{Log10OfF32(fraction), static_cast<float>(u)});
      m_stats.PeakPower = KeyToDb(it->key);
    }
    // Otherwise the whole bin is rarer than 0.01 % and is not plotted.
  }
}

void CcdfAccumulator::ComputeStatistics() {
  const auto total = static_cast<double>(m_stats.SampleTotal);
  std::array<double, 5> best{1.0, 1.0, 1.0, 1.0, 1.0};
  std::int64_t cum = 0;
  for (auto it = m_merged.rbegin(); it != m_merged.rend(); ++it) {
    const double u = KeyToDb(it->key) - m_stats.AveragePower;
    if (u <= 0) break;  // unlike the curve, a bin at the average ends this walk
    const double first = static_cast<double>(cum + 1) / total * 100.0;
    cum += it->count;
    const double last = static_cast<double>(cum) / total * 100.0;

    for (std::size_t i = 0; i < 4; ++i) {
      const double p = kCcdfProbabilities[i];
      if (first <= p && last >= p) m_stats.LevelAt[i] = u;
    }
    // The lowest bin whose first sample is within the top 0.001 % wins.
    if (first <= kCcdfProbabilities[4]) m_stats.LevelAt[4] = u;

    for (std::size_t i = 0; i < kCcdfLevels.size(); ++i) {
      const double x = kCcdfLevels[i];
      // Only levels the curve reaches get a probability. The guard compares
      // the crest factor with X: both are dB above the average, as the
      // look-up itself is. The absolute peak in dBm would tie the guard to
      // the signal's level (a −30 dBm signal would never get a value, a
      // +40 dBm one always).
      if (!(m_stats.CrestFactor > x)) continue;
      const double distance = std::fabs(u - x);
      if (distance < best[i]) {
        best[i] = distance;
        m_stats.ProbabilityAt[i] = u > x ? first : last;
      }
    }
  }
}

}  // namespace wattrix
