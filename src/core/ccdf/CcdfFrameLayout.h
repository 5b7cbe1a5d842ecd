#pragma once

namespace wattrix {

// Ideal and minimum size of a splitter row or column.
struct SplitterSize {
  int ideal = 0;
  int minimum = 0;
  friend bool operator==(const SplitterSize&, const SplitterSize&) = default;
};

// Sizes of the CCDF window's four locked splitters for a client of cx × cy:
// the panel column takes a quarter of the width, the graph three quarters
// of the height; the last row or column of each splitter takes the rest.
struct CcdfFrameLayout {
  SplitterSize outerColumn0;  // left column of panels L1..L3
  SplitterSize leftRow0;      // L1
  SplitterSize leftRow1;      // L2
  SplitterSize rightRow0;     // the graph
  SplitterSize lowerColumn0;  // R_B1
  SplitterSize lowerColumn1;  // R_B2

  static constexpr CcdfFrameLayout For(int cx, int cy) {
    CcdfFrameLayout l;
    l.outerColumn0 = {cx / 4, cy / 3};
    l.leftRow0 = {cy / 3, 0};
    l.leftRow1 = {cy / 3, 0};
    l.rightRow0 = {(cy / 4) * 3, 0};
    l.lowerColumn0 = {cx / 4, 0};
    l.lowerColumn1 = {cx / 4, 0};
    return l;
  }
  // Size the graph pane is created with.
  static constexpr int GraphCreateWidth(int cx) { return cx * 3 / 4; }
  static constexpr int GraphCreateHeight(int cy) { return cy * 3 / 4; }
};

}  // namespace wattrix
