#pragma once

#include "core/ccdf/CcdfStatistics.h"
#include "core/vocabulary/CcdfHistogram.h"

#include <cstdint>
#include <deque>
#include <map>
#include <span>
#include <vector>

namespace wattrix {

// The CCDF window's data: the moving window of the last sweeps, their sum,
// the distribution curve and its statistics. Pure computation; the session
// around it owns the request cycle, BusyFlag, the single-measurement stop
// and the view refresh.
//
// A delivery runs, in order:
//   SetSweepWindowFromRate(rate);
//   if (singleSweep && CompletesWindow()) stop the measurement;
//   (BusyFlag / status checks of the session)
//   if (ProcessSweep(histogram, tech) == SweepResult::Processed) refresh the views;
//   clear BusyFlag.
class CcdfAccumulator final {
 public:
  // One bin of a stored sweep.
  struct SweepBin {
    std::int32_t key;    // power in 0.01 dB
    std::int32_t count;  // samples, always > 0
    friend bool operator==(const SweepBin&, const SweepBin&) = default;
  };
  // One bin of the merged histogram; 64-bit counts so sums cannot wrap.
  struct MergedBin {
    std::int32_t key;
    std::int64_t count;
    // 10^(key / 1000): the bin's power in milliwatts, computed once when the
    // key enters the sum rather than on every sweep.
    double milliwatts;
    friend bool operator==(const MergedBin&, const MergedBin&) = default;
  };
  using Sweep = std::vector<SweepBin>;  // ascending keys
  using Merged = std::map<std::int32_t, std::int64_t>;

  enum class SweepResult {
    EmptyHistogram,  // nothing to show: curve and average cleared, views not refreshed
    Processed,       // curve and statistics rebuilt
  };

  // Sweeps kept for a CCDF "RATE": 1 → 20, 2 → 50, 3 → 100, any other → 10.
  static int SweepWindowForRate(int rate);
  // dB added to the computed average for a "TECH" value.
  static double TechnologyCorrection(int technology);

  void SetSweepWindowFromRate(int rate) { m_sweepWindow = SweepWindowForRate(rate); }
  int SweepWindow() const { return m_sweepWindow; }
  // True when the sweep about to be stored fills the window (the single
  // measurement ends with it; it is still processed).
  bool CompletesWindow() const { return StoredSweeps() + 1 >= m_sweepWindow; }

  // Clears the curve and average, stores the sweep in the moving window,
  // merges, and rebuilds curve and statistics. Bins with a count ≤ 0 are
  // not stored (the sensor never sends them; they would make probabilities
  // meaningless), so a histogram without a positive count counts as empty.
  SweepResult ProcessSweep(const CcdfHistogram& histogram, int technology);

  // Empties sweeps, merged histogram and curve and zeroes all statistics.
  void Reset();

  int StoredSweeps() const { return static_cast<int>(m_sweeps.size()); }
  const std::deque<Sweep>& SweepList() const { return m_sweeps; }
  // Sum of the stored sweeps (empty after a delivery of an empty histogram
  // until the next sweep is merged).
  std::span<const MergedBin> MergedHistogram() const;
  const std::vector<CcdfPoint>& CcdfCurve() const { return m_curve; }
  const CcdfStatistics& Statistics() const { return m_stats; }

  // The sum of `sweeps` the plain way, one map insertion per bin; the
  // reference the incremental merge is checked and measured against.
  static Merged MergeStraightforward(const std::deque<Sweep>& sweeps);

 private:
  void StoreIncoming();
  void AddToMerged(const Sweep& sweep);
  void SubtractFromMerged(const Sweep& sweep);
  void WalkAscending();
  void BuildCurve();
  void ComputeStatistics();

  int m_sweepWindow = 10;
  std::deque<Sweep> m_sweeps;
  Sweep m_incoming;  // the sweep being stored
  // Running sum of m_sweeps, kept incrementally: a sweep costs a linear
  // merge of two sorted arrays instead of re-merging every stored map.
  std::vector<MergedBin> m_merged;
  std::vector<MergedBin> m_scratch;
  bool m_mergedShown = false;
  std::vector<CcdfPoint> m_curve;
  CcdfStatistics m_stats;
};

}  // namespace wattrix
