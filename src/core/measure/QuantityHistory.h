#pragma once

#include <memory>

namespace wattrix {

// The readings of one quantity in the running measurement, with first,
// minimum, maximum and the sums behind the average kept as readings arrive,
// so that neither read-outs nor saving a run scan the buffer.
class QuantityHistory final {
 public:
  static constexpr int kCapacity = 100000;

  QuantityHistory();

  // Appends a reading; false (and nothing changes) when the buffer is full.
  bool Add(float value);
  // Empties the history; the buffer stays allocated.
  void Reset();
  // Makes the next reading restart first, minimum and maximum.
  void Restart();

  const float* Readings() const { return m_readings.get(); }
  int Count() const { return m_count; }
  float First() const { return m_first; }
  float Min() const { return m_min; }
  float Max() const { return m_max; }
  bool RestartPending() const { return m_restartPending; }
  // Average of the readings: in linear power for dBm quantities, else
  // arithmetic; 0 for an empty history. Kept as the last result. Taken
  // from the running sums, which add the readings in buffer order, so the
  // result is the one a pass over the buffer would give.
  double ComputeAverage(bool linearPower);
  double LastAverage() const { return m_average; }

 private:
  std::unique_ptr<float[]> m_readings;
  int m_count = 0;
  float m_first = 0;
  float m_min = 0;
  float m_max = 0;
  double m_average = 0;
  double m_sum = 0;        // of the readings
  double m_linearSum = 0;  // of 10^(reading / 10)
  bool m_restartPending = true;
};

}  // namespace wattrix
