#pragma once

#include "core/vocabulary/LiveWindowKind.h"
#include "core/vocabulary/Quantity.h"

#include <vector>

namespace wattrix {

// The settings dialog's tabs by sensor model: which tabs exist, which page
// each shows, which page OK applies and which controls are hidden.
namespace settings_tabs {

enum class Page { Avg, Ccdf, Pulse, Logging };

struct Tab {
  const char* labelKey;  // key in section "IDD_SETTING_MAIN"
  Page page;
};

struct HiddenControls {
  bool avgTechnology = false;  // label and list
  bool avgAverage = false;     // label and list
  bool ccdfTechnology = false;
  friend bool operator==(const HiddenControls&, const HiddenControls&) = default;
};

// Tabs in order; none for a code without a row.
std::vector<Tab> TabsFor(int modelCode);
HiddenControls HiddenFor(int modelCode);
// The page shown for a tab index; an index the model has no tab for shows
// the Avg page.
Page PageShown(int modelCode, int tabIndex);
// The page OK writes: the one on the current tab.
Page PageApplied(int modelCode, int tabIndex);

// Tab the dialog opens on for the window that asked.
int InitialTab(LiveWindowKind opener);
// Range sub-tab the Avg page opens on: the one of the quantity the
// measurement window currently shows (AVG, PEAK, VSWR/PAR in tab order, so
// AVG 0, PEAK 1, VSWR 2 on a model with all three), or the first.
int InitialSubTab(int modelCode, Quantity currentQuantity);

}  // namespace settings_tabs
}  // namespace wattrix
