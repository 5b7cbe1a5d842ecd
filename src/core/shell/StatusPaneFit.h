#pragma once

namespace wattrix {

// Widths of the status bar's two panes: the first normally two thirds of
// the bar, the second one third.
struct StatusPaneWidths {
  int first = 0;
  int second = 0;
  friend bool operator==(const StatusPaneWidths&, const StatusPaneWidths&) = default;
};

// Splits `total` pixels between the panes so that their texts, needing
// `need0` and `need1` pixels on one line, are shown whole: the two thirds
// and one third while both fit, else a pane that needs more takes what the
// other leaves. When the texts cannot share one line, the second pane (the
// warnings) gets what the first does not need, at least half the bar, and
// the panes wrap their texts onto more lines.
StatusPaneWidths FitStatusPanes(int total, int need0, int need1);

}  // namespace wattrix
