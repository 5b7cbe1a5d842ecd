#pragma once

#include <string>
#include <vector>

namespace wattrix {

// What the CCDF graph control hands to its graph: plot description, texts
// and the points as x0, y0, x1, y1, … (x: dB above the average, y: log10 of
// the probability as a fraction).
struct GraphData {
  static constexpr int kPairs = 6;  // plot type of (x, y) pairs

  int plotType = 0;
  int lineStyle = 0;  // 1: consecutive points joined by one-pixel lines
  float xFrom = 0;
  float xTo = 0;
  float yFirst = 0;
  float ySecond = 0;
  std::string title;
  std::string markerText;
  std::string yAxisTitle;
  std::string xAxisTitle;
  std::vector<float> points;

  int PointCount() const { return static_cast<int>(points.size() / 2); }
};

}  // namespace wattrix
