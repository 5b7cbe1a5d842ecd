#include "core/settings/SettingsPageRules.h"
#include "core/settings/SettingsTabs.h"

#include "core/vocabulary/SensorModel.h"
#include "core/vocabulary/Quantity.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wattrix {
namespace {

using namespace settings_page;

TEST(SettingsValidation, OrderAndBoundaries) {
  const RangeValues good{20, 60, 25, 55};
  const std::vector<RangeValues> pages{good, good};
  EXPECT_EQ(Validate(model::kPX420A, 300.0f, 0, pages), std::nullopt);
  EXPECT_EQ(Validate(model::kPX420A, 3800.0f, 100.0f, pages), std::nullopt);
  EXPECT_EQ(Validate(model::kPX420A, 2400.0f, -100.0f, pages), std::nullopt);

  const auto freq = Validate(model::kPX420A, 299.9f, 500.0f, pages);  // frequency is checked first
  ASSERT_TRUE(freq);
  EXPECT_EQ(freq->field, Field::Frequency);
  EXPECT_EQ(freq->key, "S_IDD_SETTING_ONOK_IFREQ");
  EXPECT_TRUE(Validate(model::kPX420A, 3800.1f, 0, pages));
  EXPECT_TRUE(Validate(model::kPX420A, std::nanf(""), 0, pages));
  EXPECT_EQ(Validate(model::kPX430A, 20.0f, 0, pages), std::nullopt);  // that model starts at 20 MHz

  const auto offset = Validate(model::kPX420B, 2400, 100.01f, pages);
  ASSERT_TRUE(offset);
  EXPECT_EQ(*offset, (ValidationFailure{Field::Offset, "S_IDD_SETTING_INVAL_OFFSET", -1}));
  EXPECT_TRUE(Validate(model::kPX420B, 2400, -100.01f, pages));

  // Range sub-pages in order; on one page the display range before the limits.
  const std::vector<RangeValues> equalDisplay{good, {30, 30, 50, 10}};
  EXPECT_EQ(*Validate(model::kPX420B, 2400, 0, equalDisplay),
            (ValidationFailure{Field::DisplayRange, "S_IDD_SETTING_ONOK_IDRNG", 1}));
  const std::vector<RangeValues> badLimits{{20, 60, 40, 40}, {30, 20, 0, 1}};
  EXPECT_EQ(*Validate(model::kPX420B, 2400, 0, badLimits),
            (ValidationFailure{Field::LimitRange, "S_IDD_SETTING_ONOK_ILRNG", 0}));
}

TEST(SettingsPages, SubTabsListsAndTechnology) {
  using Tabs = std::vector<RangeTab>;
  EXPECT_EQ(
      AverageRangeTabs(model::kPX420A),
      (Tabs{{kAvg, "S_MEASUREVIEW_AVG"}, {kPeak, "S_MEASUREVIEW_PEAK"}, {kVswr, "S_MEASUREVIEW_VSWR"}}));
  EXPECT_EQ(AverageRangeTabs(model::kPX470B).back(), (RangeTab{kVswr, "S_MEASUREVIEW_PAR"}));
  EXPECT_EQ(AverageRangeTabs(model::kPX430B), (Tabs{{kAvg, "S_MEASUREVIEW_AVG"}}));
  EXPECT_EQ(AverageRangeTabs(model::kPX450A), (Tabs{{kPeak, "S_MEASUREVIEW_PEAK"}}));
  EXPECT_TRUE(AverageRangeTabs(7).empty());
  EXPECT_EQ(PulseRangeTabs(), (Tabs{{kPulse, "S_MEASUREVIEW_PULSE"}}));

  EXPECT_EQ(TechnologyListIndex(5), 5);
  EXPECT_EQ(TechnologyListIndex(8), 7);
  EXPECT_EQ(TechnologyListIndex(-1), 7);
  // Pulse page: WCDMA is not offered, it shows "etc" and applies as TECH 7.
  EXPECT_EQ(PulseTechnologyListIndex(1), 3);
  EXPECT_EQ(PulseTechnologyFromListIndex(PulseTechnologyListIndex(1)), 7);
  EXPECT_EQ(PulseTechnologyListIndex(3), 1);
  EXPECT_EQ(PulseTechnologyFromListIndex(2), 4);
  EXPECT_EQ(PulseTechnologyFromListIndex(0), 0);

  EXPECT_EQ(RepeatListIndex(10), 9);
  EXPECT_EQ(RepeatListIndex(11), 0);
  EXPECT_EQ(RepeatListIndex(0), 0);
  EXPECT_EQ(RepeatFromListIndex(RepeatListIndex(4)), 4);
  EXPECT_EQ(RateListIndex(3), 3);
  EXPECT_EQ(RateListIndex(4), 0);
  EXPECT_EQ(RateListIndex(-2), 0);
  EXPECT_EQ(CcdfRateListIndex(9), 0);
  EXPECT_EQ(PeriodListIndex(4), 4);
  EXPECT_EQ(PeriodListIndex(5), 0);
  EXPECT_EQ(DecimalListIndex(3), 2);
}

TEST(SettingsPages, DutyReferenceInterlockAndApply) {
  // Manual duty forces the reference to automatic and locks its controls.
  EXPECT_EQ(Interlock(true, true), (DutyReferenceState{false, true, false, false}));
  EXPECT_EQ(Interlock(true, false), (DutyReferenceState{false, true, false, false}));
  EXPECT_EQ(Interlock(false, true), (DutyReferenceState{true, false, true, true}));
  EXPECT_EQ(Interlock(false, false), (DutyReferenceState{false, false, true, false}));

  const auto state = Interlock(true, true);
  EXPECT_EQ(DutyFromEdit(true, 0.5), 500);
  EXPECT_EQ(ReferenceFromEdit(state.referenceManual, 7.5), 0);
  EXPECT_EQ(DutyFromEdit(false, 0.5), 0);
  EXPECT_EQ(ReferenceFromEdit(true, 1.15), 115);   // not 114 from 114.999…
  EXPECT_EQ(ReferenceFromEdit(true, 1.15f), 115);  // nor from a single-precision edit value
  EXPECT_EQ(ReferenceFromEdit(true, 1.159), 115);  // still truncated
  EXPECT_EQ(DutyFromEdit(true, 0.0129), 12);
  EXPECT_EQ(ReferenceFromEdit(true, -2.349), -234);      // toward zero
  EXPECT_EQ(ReferenceFromEdit(true, 1e30), 2147483647);  // out of range stays defined
  EXPECT_TRUE(IsManual(500));
  EXPECT_FALSE(IsManual(0));
  EXPECT_EQ(DutyEditText(500), "0.500");
  EXPECT_EQ(ReferenceEditText(600), "6.00");
}

TEST(SettingsTabs, TabsPagesAndHiddenControls) {
  using namespace settings_tabs;
  const auto px420b = TabsFor(model::kPX420B);
  ASSERT_EQ(px420b.size(), 4u);
  EXPECT_STREQ(px420b[3].labelKey, "TAB_LOGGING");
  EXPECT_EQ(PageApplied(model::kPX420B, 3), Page::Logging);
  EXPECT_EQ(PageApplied(model::kPX420B, 1), Page::Ccdf);
  EXPECT_EQ(PageApplied(model::kPX470B, 2), Page::Pulse);
  EXPECT_EQ(PageApplied(model::kPX470B, 3), Page::Avg);  // no logging tab on the PX470B
  ASSERT_EQ(TabsFor(model::kPX430A).size(), 1u);
  EXPECT_STREQ(TabsFor(model::kPX430A)[0].labelKey, "TAB_AVG");
  EXPECT_EQ(PageShown(model::kPX430A, 2), Page::Avg);  // a tab the model lacks shows the Avg page
  EXPECT_STREQ(TabsFor(model::kPX450B)[0].labelKey, "TAB_PEAK");
  EXPECT_TRUE(TabsFor(7).empty());

  EXPECT_EQ(HiddenFor(model::kPX420A), (HiddenControls{true, true, false}));
  EXPECT_EQ(HiddenFor(model::kPX430B), (HiddenControls{true, false, false}));
  EXPECT_EQ(HiddenFor(model::kPX470B), (HiddenControls{true, false, true}));
  EXPECT_EQ(HiddenFor(model::kPX420B), HiddenControls{});

  EXPECT_EQ(InitialTab(LiveWindowKind::Pulse), 2);
  EXPECT_EQ(InitialTab(LiveWindowKind::Ccdf), 1);
  EXPECT_EQ(InitialSubTab(model::kPX420B, kAvg), 0);
  EXPECT_EQ(InitialSubTab(model::kPX420B, kVswr), 2);
  EXPECT_EQ(InitialSubTab(model::kPX420B, kPeak), 1);
  EXPECT_EQ(InitialSubTab(model::kPX450A, kPeak), 0);  // its only range tab
  EXPECT_EQ(InitialSubTab(model::kPX430A, kPulse), 0);
}

}  // namespace
}  // namespace wattrix
