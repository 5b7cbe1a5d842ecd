#pragma once

#include "core/graph/CGraph.h"

#include <cstddef>
#include <string>

namespace wattrix {

// What a window that keeps a graph's drawing as an image must draw again
// to bring it up to date with the engine. The chrome (background, frame,
// grid, titles, y labels) changes rarely and is kept apart; the plot is
// restored from it and drawn again when its range, limits or earlier
// points changed; points added at the end of an unchanged range are only
// joined on, so a live graph that fills up draws each reading once.
class GraphRedraw final {
 public:
  enum class Step {
    Nothing,  // the plot is as drawn
    Append,   // restore the band of CGraph::AppendBounds, draw points there
    Plot,     // restore the plot area from the chrome and draw it again
    All,      // draw the chrome again, then everything
  };
  struct Plan {
    Step step = Step::All;
    std::size_t appendFrom = 0;
    bool endTexts = false;  // the end-text row changed (also with All)
  };

  Plan Next(const CGraph& graph) const;
  // The graph's state as it is now drawn.
  void Drawn(const CGraph& graph);
  // Nothing is known to be drawn: the next plan draws everything.
  void Invalidate() { m_valid = false; }

 private:
  // What the chrome depends on.
  struct Chrome {
    PixelRect area;
    int fontPixels = 0, lineHeight = 0, charWidth = 0, scheme = 0;
    double yMin = 0, yMax = 0, xMin = 0, xMax = 0;
    bool grid = false, ticks = false;
    std::string fontFace, title, subtitle, xLabel, yLabel, unit;
    friend bool operator==(const Chrome&, const Chrome&) = default;
  };
  // What the plot area depends on besides the points.
  struct Plot {
    int kind = 0, style = 0;
    double xMin = 0, xMax = 0;
    bool average = false, limits = false;
    double averageValue = 0, upper = 0, lower = 0;
    friend bool operator==(const Plot&, const Plot&) = default;
  };
  static Chrome ChromeOf(const CGraph& graph);
  static Plot PlotOf(const CGraph& graph);

  bool m_valid = false;
  Chrome m_chrome;
  Plot m_plot;
  std::string m_startText, m_endText;
  std::size_t m_count = 0;
  GraphPoint m_first{}, m_last{};
};

}  // namespace wattrix
