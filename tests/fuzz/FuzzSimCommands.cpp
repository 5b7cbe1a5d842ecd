// Feeds arbitrary bytes to the simulated sensor, as the host's writes in
// two pieces, and checks that every reply is a whole frame.
#include "sim/SimSensor.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the model and how the stream is cut.
  static const int kModels[] = {0, 1, 2, 3, 4, 5, 6, 8, 9};
  auto config = wattrix::sim::SimConfig::ForModel(kModels[data[0] % 9]);
  config.firmwareVersion = 289 + data[0] % 8;
  double now = 0;
  wattrix::sim::SimSensor sensor(config);
  sensor.SetClock([&now] { return now += 1000; });
  const std::size_t cut = 1 + data[0] % (size);
  std::vector<wattrix::sim::SimReply> replies;
  sensor.Feed(data + 1, cut - 1, replies);
  sensor.Feed(data + cut, size - cut, replies);
  for (const auto& reply : replies) {
    const auto& b = reply.bytes;
    if (b.size() < 4 || b[0] != '[' || b[b.size() - 2] != ']' || b[b.size() - 1] != '\r') std::abort();
  }
  return 0;
}
