#include "core/measure/ModeViewRules.h"

#include "core/vocabulary/Quantity.h"
#include "core/vocabulary/SensorModel.h"

#include <gtest/gtest.h>

#include <vector>

namespace wattrix {
namespace {

using namespace mode_view;

std::vector<int> Polls(LiveWindowKind view, int modelCode, int count) {
  std::vector<int> kinds;
  RequestKind state = InitialRequestState(view, modelCode);
  for (int i = 0; i < count; ++i) {
    const auto step = NextRequest(view, modelCode, state);
    kinds.push_back(static_cast<int>(step.kind));
    state = step.nextState;
  }
  return kinds;
}

TEST(ModeViewRequests, CycleByModel) {
  const auto m = LiveWindowKind::Measurement;
  EXPECT_EQ(Polls(m, 0, 7), (std::vector<int>{0, 2, 3, 0, 2, 3, 0}));
  EXPECT_EQ(Polls(m, 2, 3), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(Polls(m, 4, 4), (std::vector<int>{0, 2, 0, 2}));
  EXPECT_EQ(Polls(m, 9, 4), (std::vector<int>{0, 2, 0, 2}));
  EXPECT_EQ(Polls(m, 3, 3), (std::vector<int>{2, 2, 2}));
  EXPECT_EQ(Polls(m, 8, 3), (std::vector<int>{2, 2, 2}));
  EXPECT_EQ(Polls(m, 5, 4), (std::vector<int>{1, 2, 1, 2}));
  EXPECT_EQ(Polls(m, 1, 3), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(Polls(m, 6, 2), (std::vector<int>{0, 0}));
  EXPECT_EQ(Polls(m, 7, 2), (std::vector<int>{0, 0}));
  EXPECT_EQ(Polls(LiveWindowKind::Pulse, 5, 3), (std::vector<int>{4, 4, 4}));
  // A state outside the cycle starts it again.
  EXPECT_EQ(NextRequest(m, 0, RequestKind::AverageReverse),
            (RequestStep{RequestKind::Average, RequestKind::Peak}));
  EXPECT_EQ(NextRequest(m, 5, RequestKind::Reverse),
            (RequestStep{RequestKind::AverageReverse, RequestKind::Peak}));
  EXPECT_EQ(InitialRequestState(m, 3), RequestKind::Peak);
  EXPECT_EQ(InitialRequestState(m, 5), RequestKind::AverageReverse);
  EXPECT_EQ(InitialRequestState(LiveWindowKind::Pulse, 9), RequestKind::Pulse);
}

TEST(ModeViewReinitialise, PanelsGraphAndMasks) {
  const auto m = LiveWindowKind::Measurement;
  const auto p = LiveWindowKind::Pulse;
  EXPECT_EQ(InitialSelectedPanel(m, QuantityMask{0x1f}), 1);
  EXPECT_EQ(InitialSelectedPanel(m, QuantityMask{0x02}), 2);
  EXPECT_EQ(InitialSelectedPanel(m, QuantityMask{0x10}), 3);
  EXPECT_EQ(InitialSelectedPanel(m, QuantityMask{0x08}), std::nullopt);
  EXPECT_EQ(InitialSelectedPanel(p, QuantityMask{0x1f}), 1);
  EXPECT_EQ(InitialSelectedPanel(p, QuantityMask{0x03}), 2);
  EXPECT_EQ(InitialSelectedPanel(p, QuantityMask{0x01}), std::nullopt);

  for (int code : {1, 3, 6, 8}) EXPECT_TRUE(GraphShownByDefault(m, code)) << code;
  for (int code : {0, 2, 4, 5, 9}) EXPECT_FALSE(GraphShownByDefault(m, code)) << code;
  EXPECT_TRUE(GraphShownByDefault(p, 5));

  // Panels of quantities the model lacks cannot be selected.
  const std::vector<bool> all{true, true, true, true};
  auto selectable = [](LiveWindowKind view, int code) {
    std::vector<bool> out;
    for (int panel = 0; panel < 4; ++panel) out.push_back(PanelSelectable(view, code, panel));
    return out;
  };
  EXPECT_EQ(selectable(m, 0), all);
  EXPECT_EQ(selectable(m, 1), (std::vector<bool>{true, true, false, false}));
  EXPECT_EQ(selectable(m, 8), (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ(selectable(m, 5), all);
  EXPECT_EQ(selectable(p, 5), (std::vector<bool>{true, true, false, false}));
  EXPECT_EQ(selectable(p, 9), (std::vector<bool>{true, true, false, false}));
  EXPECT_EQ(selectable(p, 3), (std::vector<bool>{true, false, true, false}));
  EXPECT_FALSE(PanelSelectable(m, 0, 4));

  EXPECT_EQ(PanelOfQuantity(m, kAvg), 1);
  EXPECT_EQ(PanelOfQuantity(m, kRev), 0);
  EXPECT_EQ(PanelOfQuantity(m, kVswr), 3);
  EXPECT_EQ(PanelOfQuantity(m, kPeak), 2);
  EXPECT_EQ(PanelOfQuantity(m, kPulse), 0);
  EXPECT_EQ(PanelOfQuantity(p, kPeak), 0);
  EXPECT_EQ(PanelOfQuantity(p, kPulse), 1);
  EXPECT_EQ(PanelOfQuantity(p, kCcdf), -1);

  EXPECT_EQ(FirstQuantity(m, 3), kPeak);
  EXPECT_EQ(FirstQuantity(m, 5), kAvg);
  EXPECT_EQ(FirstQuantity(p, 3), kPulse);
  EXPECT_EQ(SaveMask(m, 1).Bits(), 0x01);
  EXPECT_EQ(SaveMask(m, 8).Bits(), 0x02);
  EXPECT_EQ(SaveMask(m, 5).Bits(), 0x13);
  EXPECT_EQ(SaveMask(m, 7).Bits(), 0x13);
  EXPECT_EQ(SaveMask(m, 10).Bits(), 0x01);
  EXPECT_EQ(SaveMask(p, 5).Bits(), 0x08);
  EXPECT_TRUE(HistoryGraphCommandEnabled(9));
  EXPECT_FALSE(HistoryGraphCommandEnabled(1));
}

}  // namespace
}  // namespace wattrix
