#include "core/vocabulary/SensorModel.h"

#include <gtest/gtest.h>

namespace wattrix {
namespace {

TEST(SensorModel, LookupsThatNoRowAnswersAndThePx470bRanges) {
  EXPECT_EQ(ModelCodeByName("px470b"), 0);  // exact names only; unknown gives PX420A
  EXPECT_EQ(FindModelByCode(7), nullptr);
  EXPECT_EQ(ModelNameByCode(7), "");
  EXPECT_EQ(FindModelByDeviceCode(12), nullptr);
  for (const auto& row : SensorModels()) {
    EXPECT_EQ(FindModelByDeviceCode(row.deviceCode), &row);
    EXPECT_EQ(ModelCodeByName(row.name), row.modelCode);
  }
  const auto& px470b = *FindModelByCode(model::kPX470B);
  EXPECT_EQ(px470b.ranges[2].low, 0);  // the VSWR slot carries PAR
  EXPECT_EQ(px470b.ranges[2].high, 20);
  EXPECT_EQ(px470b.ranges[0].low, -30);
  EXPECT_EQ(px470b.ranges[0].high, 20);
}

TEST(SensorModel, ModesEachModelOffers) {
  using M = ModeCommand;
  for (const auto command : {M::Avg, M::Peak, M::AvgPeak, M::Pulse, M::Ccdf, M::DownloadLog}) {
    EXPECT_EQ(ModelOffers(model::kPX430A, command), command == M::Avg);
    EXPECT_EQ(ModelOffers(model::kPX420B, command), command != M::Avg && command != M::Peak);
    EXPECT_FALSE(ModelOffers(7, command));
  }
}

}  // namespace
}  // namespace wattrix
