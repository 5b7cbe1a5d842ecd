// Walks arbitrary bytes as a logging download reply.
#include "core/device/LogBlockDecoder.h"

#include <cstdint>

namespace {
// Keeps the visited values observable so the walk is not optimised away.
volatile unsigned long g_sink = 0;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wattrix::protocol;
  if (!IsLogBlock(data, size)) return 0;
  const int mask = size > 2 ? data[2] & 0x0F : 0;
  const auto rotation = BuildLogRotation(wattrix::QuantityMask(mask));
  int position = 0;
  unsigned long sum = 0;
  const int want = size > 3 ? data[3] * 8 : 0;
  const int got = ForEachLogValue(data, size, 0, want, [&](std::uint16_t v) {
    sum += v;
    if (rotation.size > 0) position = (position + 1) % rotation.size;
  });
  if (got > want) __builtin_trap();
  // The same bytes as a later piece of a longer reply.
  (void)ForEachLogValue(data, size, 3, want, [&](std::uint16_t v) { sum += v; });
  g_sink = sum + static_cast<unsigned long>(position);
  return 0;
}
