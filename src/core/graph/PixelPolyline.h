#pragma once

#include "core/platform/Canvas.h"

#include <cstddef>
#include <vector>

namespace wattrix {

// Builds the vertices of a one-pixel line through points given in whole
// pixels. Consecutive vertices in one pixel column are reduced to the
// first, lowest, highest and last of them: the path then covers exactly
// the same pixels, so a long history draws with at most four vertices per
// column.
class PixelPolyline final {
 public:
  void Reserve(std::size_t vertices) { m_vertices.reserve(vertices); }
  void Add(int x, int y);
  // The vertices; a single point is joined to itself.
  const std::vector<PointF>& Finish();
  void Clear();

 private:
  void FlushColumn();
  void Emit(int x, int y);

  std::vector<PointF> m_vertices;
  bool m_open = false;
  int m_x = 0;
  int m_first = 0;
  int m_low = 0;
  int m_high = 0;
  int m_last = 0;
  std::size_t m_added = 0;
};

}  // namespace wattrix
