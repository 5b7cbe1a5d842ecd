// Time to process one CCDF sweep against the window of stored sweeps, beside
// the plain re-merge of every stored map that the incremental sum replaces.
#include "core/ccdf/CcdfAccumulator.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <deque>
#include <random>
#include <vector>

namespace {

using wattrix::CcdfAccumulator;
using wattrix::CcdfHistogram;

constexpr int kBins = 3744;  // the longest block: keys 2176 … 5919
constexpr int kFirstKey = 2176;

// A noisy Gaussian-like bump over every bin, as a sweep of a modulated
// signal at full extent (every bin occupied: the heaviest case).
std::vector<CcdfHistogram> MakeSweeps(int count) {
  std::mt19937 rng(7);
  std::normal_distribution<double> noise(0.0, 0.15);
  std::vector<CcdfHistogram> sweeps;
  for (int s = 0; s < count; ++s) {
    CcdfHistogram h;
    const double centre = 1800 + 40 * noise(rng);
    for (int i = 0; i < kBins; ++i) {
      const double z = (i - centre) / 420.0;
      const double shape = 400.0 * std::exp(-0.5 * z * z) * (1.0 + noise(rng));
      h[kFirstKey + i] = 1 + static_cast<int>(std::fabs(shape));
    }
    sweeps.push_back(std::move(h));
  }
  return sweeps;
}

int RateForWindow(int window) { return window == 100 ? 3 : window == 50 ? 2 : window == 20 ? 1 : 0; }

void BM_ProcessSweep(benchmark::State& state) {
  const int window = static_cast<int>(state.range(0));
  const auto sweeps = MakeSweeps(32);
  CcdfAccumulator acc;
  acc.SetSweepWindowFromRate(RateForWindow(window));
  for (int i = 0; i < window; ++i) acc.ProcessSweep(sweeps[i % sweeps.size()], 1);
  std::size_t next = 0;
  for (auto _ : state) {
    const auto result = acc.ProcessSweep(sweeps[next], 1);
    benchmark::DoNotOptimize(result);
    benchmark::DoNotOptimize(acc.Statistics().AveragePower);
    next = (next + 1) % sweeps.size();
  }
  state.counters["stored"] = acc.StoredSweeps();
  state.counters["mergedBins"] = static_cast<double>(acc.MergedHistogram().size());
}
BENCHMARK(BM_ProcessSweep)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

// The plain way: sum every stored map into a fresh ordered map on each sweep.
void BM_StraightforwardReMerge(benchmark::State& state) {
  const int window = static_cast<int>(state.range(0));
  const auto sweeps = MakeSweeps(32);
  std::deque<CcdfHistogram> stored;
  for (int i = 0; i < window; ++i) stored.push_back(sweeps[i % sweeps.size()]);
  for (auto _ : state) {
    std::map<std::int32_t, std::int32_t> merged;
    for (const auto& h : stored) {
      for (const auto& [key, count] : h) merged[key] += count;
    }
    benchmark::DoNotOptimize(merged);
  }
}
BENCHMARK(BM_StraightforwardReMerge)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
