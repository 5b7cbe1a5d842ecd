#include "core/device/SensorModel.h"

#include <gtest/gtest.h>

namespace wattrix {
namespace {

TEST(SensorModel, LookupsOfCodesNamesAndDeviceCodesThatNoRowCarries) {
  EXPECT_EQ(ModelCodeByName("PX999Z"), 0);
  EXPECT_EQ(ModelCodeByName("px470b"), 0);  // exact match only
  EXPECT_EQ(ModelCodeByName("PX470B"), model::kPX470B);
  EXPECT_EQ(FindModelByCode(7), nullptr);
  EXPECT_EQ(ModelNameByCode(7), "");
  EXPECT_EQ(FindModelByDeviceCode(12), nullptr);
  EXPECT_EQ(FindModelByDeviceCode(9), nullptr);
  ASSERT_NE(FindModelByDeviceCode(14), nullptr);
  EXPECT_EQ(FindModelByDeviceCode(14)->modelCode, model::kPX470B);
  // Every row is found again by its own code, name and device code.
  for (const auto& row : SensorModels()) {
    EXPECT_EQ(FindModelByCode(row.modelCode), &row);
    EXPECT_EQ(FindModelByDeviceCode(row.deviceCode), &row);
    EXPECT_EQ(ModelCodeByName(row.name), row.modelCode);
    EXPECT_EQ(std::string(row.name).size(), 6u);
  }
}

TEST(SensorModel, RangesOfThePx470bAndTheModesEachModelOffers) {
  const auto* px470b = FindModelByCode(model::kPX470B);
  ASSERT_NE(px470b, nullptr);
  EXPECT_EQ(px470b->ranges[2].low, 0);  // the VSWR slot carries PAR
  EXPECT_EQ(px470b->ranges[2].high, 20);
  EXPECT_EQ(px470b->ranges[0].low, -30);
  EXPECT_EQ(px470b->ranges[0].high, 20);
  EXPECT_TRUE(CarriesPar(model::kPX470A));
  EXPECT_FALSE(CarriesPar(model::kPX420B));

  // With a PX430A only AVG Power; with a PX420B everything but AVG and Peak.
  using M = ModeCommand;
  for (const auto command : {M::Avg, M::Peak, M::AvgPeak, M::Pulse, M::Ccdf, M::DownloadLog}) {
    EXPECT_EQ(ModelOffers(model::kPX430A, command), command == M::Avg);
    EXPECT_EQ(ModelOffers(model::kPX420B, command), command != M::Avg && command != M::Peak);
    EXPECT_FALSE(ModelOffers(7, command));
  }
  EXPECT_TRUE(ModelOffers(model::kPX450B, M::Peak));
  EXPECT_TRUE(ModelOffers(model::kPX470B, M::Ccdf));
  EXPECT_FALSE(ModelOffers(model::kPX470B, M::DownloadLog));
}

}  // namespace
}  // namespace wattrix
