#pragma once

#include <span>
#include <string>

namespace wattrix {

// One (x, y) point of a graph series.
struct GraphPoint {
  float x = 0;
  float y = 0;
};

namespace graph {
constexpr int kKindCount = 12;
constexpr int kKindPoints = 6;  // one series of (x, y) points: the history graph
constexpr int kStyleCount = 4;
constexpr int kStyleBars = 0;    // filled bars from the zero line
constexpr int kStyleLines = 1;   // consecutive points joined
constexpr int kStylePixels = 2;  // one pixel per point
}  // namespace graph

// What the graph engine draws: kind, style, ranges, texts and the points.
// The points are not owned; they must outlive their use by the engine.
struct GraphSettings {
  int kind = graph::kKindPoints;
  int style = graph::kStyleLines;
  float xMin = 0;
  float xMax = 100;
  float yMin = -40;
  float yMax = 50;
  std::string title;
  std::string subtitle;
  std::string xLabel;
  std::string yLabel;
  std::span<const GraphPoint> points;
  // Parameters of the function kinds, which this program does not draw.
  float scale = 1;
  float offset = 0;
};

}  // namespace wattrix
