// Cost of the reply parsers and block decoders on the acquisition path.
#include "core/device/CcdfBlockDecoder.h"
#include "core/device/LogBlockDecoder.h"
#include "core/device/PeakFilter.h"
#include "core/device/ReplyParser.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

using namespace wattrix::protocol;

std::vector<std::uint8_t> Ccdf(std::size_t size) {
  std::vector<std::uint8_t> block(size, 0);
  block[0] = '[';
  block[1] = 'C';
  for (std::size_t i = 2; i + 1 < size; i += 2) block[i] = static_cast<std::uint8_t>(i % 97);
  return block;
}

void SingleReply(benchmark::State& state) {
  const std::uint8_t reply[] = {'[', 'P', ',', 0xA0, 0x0F, 0, 0, ']', 0x0D};
  for (auto _ : state) benchmark::DoNotOptimize(ParseSingleReply(reply, sizeof reply));
}
BENCHMARK(SingleReply);

void PeakFilter(benchmark::State& state) {
  PeakValues values{4500, 4400, 4300, 4200, 4100, 4000, 3900, 3800, 3700, 3600, 3500};
  PeakCarry carry = kInitialPeakCarry;
  for (auto _ : state) benchmark::DoNotOptimize(ApplyPeakFilter(values, carry));
}
BENCHMARK(PeakFilter);

void CcdfBlock(benchmark::State& state) {
  const auto block = Ccdf(static_cast<std::size_t>(state.range(0)));
  wattrix::CcdfHistogram histogram;
  for (auto _ : state) {
    DecodeCcdfBlock(block.data(), block.size(), -150, histogram);
    benchmark::DoNotOptimize(histogram.size());
  }
}
BENCHMARK(CcdfBlock)->Arg(1536)->Arg(6144)->Arg(7680);

void LogReply(benchmark::State& state) {
  std::vector<std::uint8_t> reply(512 * 512, 0x11);
  reply[0] = '[';
  reply[1] = 'D';
  for (auto _ : state) {
    unsigned long sum = 0;
    ForEachLogValue(reply.data(), reply.size(), 0, 1 << 30, [&](std::uint16_t v) { sum += v; });
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(LogReply);

}  // namespace

BENCHMARK_MAIN();
