#include "core/shell/StatusPaneFit.h"

#include <algorithm>

namespace wattrix {

StatusPaneWidths FitStatusPanes(int total, int need0, int need1) {
  total = std::max(total, 0);
  need0 = std::max(need0, 0);
  need1 = std::max(need1, 0);
  const int first = total * 2 / 3;
  StatusPaneWidths widths{first, total - first};
  if (need0 <= widths.first && need1 <= widths.second) return widths;
  if (need0 + need1 <= total) {
    // One pane needs more than its share and the other can spare it.
    if (need1 > widths.second) {
      widths.second = need1;
    } else {
      widths.second = total - need0;
    }
    widths.first = total - widths.second;
    return widths;
  }
  // Not both on one line: the warning pane takes priority.
  widths.second = std::clamp(total - need0, std::min(total / 2, need1), std::min(need1, total));
  widths.first = total - widths.second;
  return widths;
}

}  // namespace wattrix
