#include "core/settings/SettingsTabs.h"

#include "core/settings/SettingsPageRules.h"

#include "core/vocabulary/SensorModel.h"

namespace wattrix::settings_tabs {

namespace {
using namespace model;
}  // namespace

std::vector<Tab> TabsFor(int modelCode) {
  switch (modelCode) {
    case kPX420A:
    case kPX440A:
    case kPX470A:
      return {{"TAB_AVGPEAK", Page::Avg}};
    case kPX450A:
    case kPX450B:
      return {{"TAB_PEAK", Page::Avg}};
    case kPX430A:
    case kPX430B:
      return {{"TAB_AVG", Page::Avg}};
    case kPX420B:
      return {{"TAB_AVGPEAK", Page::Avg},
              {"TAB_CCDF", Page::Ccdf},
              {"TAB_PULSE", Page::Pulse},
              {"TAB_LOGGING", Page::Logging}};
    case kPX470B:
      return {{"TAB_AVGPEAK", Page::Avg}, {"TAB_CCDF", Page::Ccdf}, {"TAB_PULSE", Page::Pulse}};
    default:
      return {};
  }
}

HiddenControls HiddenFor(int modelCode) {
  switch (modelCode) {
    case kPX420A:
    case kPX440A:
    case kPX470A:
    case kPX450A:
    case kPX450B:
    case kPX430A:
      return HiddenControls{true, true, false};
    case kPX430B:
      return HiddenControls{true, false, false};
    case kPX470B:
      return HiddenControls{true, false, true};
    default:
      return HiddenControls{};
  }
}

Page PageShown(int modelCode, int tabIndex) {
  const auto tabs = TabsFor(modelCode);
  if (tabIndex < 0 || tabIndex >= static_cast<int>(tabs.size())) return Page::Avg;
  return tabs[tabIndex].page;
}

Page PageApplied(int modelCode, int tabIndex) { return PageShown(modelCode, tabIndex); }

int InitialTab(LiveWindowKind opener) {
  switch (opener) {
    case LiveWindowKind::Ccdf:
      return 1;
    case LiveWindowKind::Pulse:
      return 2;
    case LiveWindowKind::Measurement:
      break;
  }
  return 0;
}

int InitialSubTab(int modelCode, Quantity currentQuantity) {
  const auto tabs = settings_page::AverageRangeTabs(modelCode);
  for (std::size_t i = 0; i < tabs.size(); ++i) {
    if (tabs[i].quantity == currentQuantity) return static_cast<int>(i);
  }
  return 0;
}

}  // namespace wattrix::settings_tabs
