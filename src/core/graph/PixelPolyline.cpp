#include "core/graph/PixelPolyline.h"

namespace wattrix {

void PixelPolyline::Add(int x, int y) {
  ++m_added;
  if (m_open && x == m_x) {
    if (y < m_low) m_low = y;
    if (y > m_high) m_high = y;
    m_last = y;
    return;
  }
  FlushColumn();
  m_open = true;
  m_x = x;
  m_first = m_low = m_high = m_last = y;
}

const std::vector<PointF>& PixelPolyline::Finish() {
  FlushColumn();
  if (m_added > 0 && m_vertices.size() == 1) m_vertices.push_back(m_vertices.front());
  return m_vertices;
}

void PixelPolyline::Clear() {
  m_vertices.clear();
  m_open = false;
  m_added = 0;
}

void PixelPolyline::FlushColumn() {
  if (!m_open) return;
  // The first and last vertex keep the joins to the neighbouring columns;
  // lowest and highest keep the column's vertical extent.
  Emit(m_x, m_first);
  if (m_low != m_first) Emit(m_x, m_low);
  if (m_high != m_low) Emit(m_x, m_high);
  Emit(m_x, m_last);
  m_open = false;
}

void PixelPolyline::Emit(int x, int y) {
  const PointF p{static_cast<double>(x), static_cast<double>(y)};
  if (!m_vertices.empty() && m_vertices.back() == p) return;
  m_vertices.push_back(p);
}

}  // namespace wattrix
