#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace wattrix::sim {

// The sensor's unattended logging: the set-up the [A…] commands write, the
// memory of logged values, and the status [AS] reports. Logging runs in
// simulated seconds; the owner passes the current simulated time in.
class LogMemory final {
 public:
  static constexpr std::size_t kCapacity = 100'000;  // values

  // Item bits in rotation order: forward AVG, PEAK, REV, PULSE.
  static constexpr std::array<int, 4> kItemOrder = {0x01, 0x02, 0x04, 0x08};

  // Value source for one item bit, in 0.01 dB.
  using Sampler = std::function<std::int32_t(int item)>;

  void SetOffset(std::int32_t v) { m_offset = v; }
  void SetFrequency(std::int32_t v) { m_frequency = v; }
  void SetItems(std::int32_t v) { m_items = v; }
  void SetInterval(std::int32_t seconds) { m_interval = seconds; }
  void SetSampleTarget(std::int32_t samples) { m_target = samples; }
  void SetAveraging(std::int32_t code) { m_averaging = code; }
  void SetReference(std::int32_t v) { m_reference = v; }

  // [AR] 1: clears the memory and starts at `now`; [AR] 0: stops and clears.
  void Start(double now);
  void StopAndClear();
  // [AO]: empties the memory (a running log keeps going).
  void Clear();

  // Logs every sample that is due by `now`.
  void Advance(double now, const Sampler& sampler);

  bool Running() const { return m_running; }
  const std::vector<std::uint16_t>& Values() const { return m_values; }
  // The eleven values of the [AS] answer.
  std::array<std::int32_t, 11> Status() const;

 private:
  std::int32_t m_offset = 0;
  std::int32_t m_frequency = 0;
  std::int32_t m_items = 0;
  std::int32_t m_interval = 1;
  std::int32_t m_target = 0;
  std::int32_t m_averaging = 1;
  std::int32_t m_reference = 600;
  bool m_running = false;
  double m_start = 0.0;
  std::int64_t m_samplesTaken = 0;
  std::vector<std::uint16_t> m_values;
};

}  // namespace wattrix::sim
