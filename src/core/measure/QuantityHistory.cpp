#include "core/measure/QuantityHistory.h"

#include <cmath>

namespace wattrix {

QuantityHistory::QuantityHistory() : m_readings(std::make_unique<float[]>(kCapacity)) {}

bool QuantityHistory::Add(float value) {
  if (m_count + 1 > kCapacity) return false;
  m_readings[m_count] = value;
  m_sum += value;
  m_linearSum += std::pow(10.0, value / 10.0);
  if (m_restartPending) {
    m_first = m_min = m_max = value;
    m_restartPending = false;
  } else {
    if (value < m_min) m_min = value;
    if (value > m_max) m_max = value;
  }
  ++m_count;
  return true;
}

void QuantityHistory::Reset() {
  m_count = 0;
  m_sum = m_linearSum = 0;
  m_first = m_min = m_max = 0;
  m_restartPending = true;
}

void QuantityHistory::Restart() {
  m_first = m_min = m_max = 0;
  m_restartPending = true;
}

double QuantityHistory::ComputeAverage(bool linearPower) {
  if (m_count == 0) {
    m_average = 0;
    return m_average;
  }
  const double mean = (linearPower ? m_linearSum : m_sum) / m_count;
  m_average = linearPower ? 10.0 * std::log10(mean) : mean;
  return m_average;
}

}  // namespace wattrix
