// wattrix-cli ccdf against wattrix-sim.
#include "cli/SensorCliFixture.h"
#include "core/vocabulary/SensorModel.h"
#include "core/measure/MeasurementSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace wattrix {
namespace {

using CcdfCommand = test::SensorCliFixture;

double Number(const std::map<std::string, std::string>& values, const std::string& key) {
  const auto it = values.find(key);
  EXPECT_NE(it, values.end()) << key;
  return it == values.end() ? -999.0 : std::atof(it->second.c_str());
}

struct Point {
  double logProbability;
  double relativePower;
};

std::vector<Point> CurvePoints(const std::string& out) {
  std::vector<Point> points;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("point=", 0) != 0) continue;
    const auto comma = line.find(',');
    points.push_back(
        {std::atof(line.substr(6, comma - 6).c_str()), std::atof(line.substr(comma + 1).c_str())});
  }
  return points;
}

TEST_F(CcdfCommand, PrintsTheDistributionOfTheSimulatedSignal) {
  // The model's settings file keeps 10 sweeps; the command must read it.
  MeasurementSettings stored;
  stored.SetSettingsDirectory(Home());
  stored.SetModelCode(model::kPX420B);
  stored.SetCcdfRate(0);
  ASSERT_TRUE(stored.SaveSettingsFile("PX420B"));
  const std::string settingsFile = test::ReadFileBytes(Home() + "/PX420B.ini");

  const double par = 8.0;
  const double average = 30.0;
  const int port =
      StartSim({"--model", "PX420B", "--transport", "usb-vista", "--ccdf-par", "8", "--ccdf-average", "30"});
  // TECH 1 (WCDMA) corrects the average by −0.2 dB.
  const auto result = Cli("ccdf --port " + std::to_string(port) + " --sweeps 12 --tech 1 --curve");
  ASSERT_EQ(result.status, 0) << result.err;
  const auto values = Values(result.out);
  EXPECT_EQ(values.at("sweeps"), "12");
  EXPECT_EQ(values.at("samples"), "100000");
  EXPECT_NEAR(Number(values, "average_power"), average - 0.2, 0.3);
  // The simulated envelope's 0.01 % point lies `par` above its average; the
  // corrected average lifts every relative level by 0.2 dB.
  const double crest = Number(values, "crest_factor");
  EXPECT_NEAR(Number(values, "level_0.01"), par + 0.2, 0.8);
  EXPECT_NEAR(crest, Number(values, "level_0.01"), 1e-4);
  EXPECT_NEAR(Number(values, "peak_power") - Number(values, "average_power"), crest, 2e-4);
  double previous = 0;
  for (const char* key : {"level_10", "level_1", "level_0.1", "level_0.01", "level_0.001"}) {
    const double level = Number(values, key);
    EXPECT_GE(level, previous) << key;
    previous = level;
  }
  EXPECT_GT(Number(values, "level_10"), 0.5);
  // Below the crest factor the probabilities fall with the level, above it
  // no bin is looked at and they stay 0.
  EXPECT_GT(Number(values, "probability_4"), Number(values, "probability_8"));
  EXPECT_GT(Number(values, "probability_8"), 0.0);
  EXPECT_LT(Number(values, "probability_4"), 10.0);
  EXPECT_EQ(values.at("probability_12"), "0.000000");
  EXPECT_EQ(values.at("average_power").find('.') + 5, values.at("average_power").size());

  const auto points = CurvePoints(result.out);
  ASSERT_GT(points.size(), 50u);
  EXPECT_NEAR(points.front().relativePower, crest, 1e-3);
  EXPECT_NEAR(points.front().logProbability, -4.0, 0.05);
  for (std::size_t i = 1; i < points.size(); ++i) {
    EXPECT_LT(points[i].relativePower, points[i - 1].relativePower) << i;
    EXPECT_GE(points[i].logProbability, points[i - 1].logProbability) << i;
  }
  EXPECT_GE(points.back().relativePower, 0.0);
  // Never written back.
  EXPECT_EQ(test::ReadFileBytes(Home() + "/PX420B.ini"), settingsFile);
}

TEST_F(CcdfCommand, RefusesModelsWithoutCcdfBadValuesAndAMuteSensor) {
  const int px430a = StartSim({"--model", "PX430A"});
  auto result = Cli("ccdf --port " + std::to_string(px430a));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "error: the PX430A does not offer CCDF mode\n");
  EXPECT_EQ(result.out, "");

  const int px470b = StartSim({"--model", "PX470B", "--firmware", "3.05"});
  result = Cli("ccdf --port " + std::to_string(px470b) + " --freq 99999");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "error: The frequency is outside the range of this sensor.\n");
  EXPECT_EQ(Cli("ccdf --port " + std::to_string(px470b) + " --rate 4").status, 1);
  EXPECT_EQ(Cli("ccdf --port " + std::to_string(px470b) + " --sweeps 0").status, 1);
  EXPECT_EQ(Cli("ccdf --port " + std::to_string(px470b) + " --tech x").status, 2);
  EXPECT_EQ(Cli("ccdf --sweeps 3").status, 2);
  EXPECT_EQ(Cli("ccdf --port 1 --bogus").status, 2);

  // The line drops after identification, the start commands and one sweep:
  // the command gives up instead of waiting for good.
  const int dropping = StartSim({"--model", "PX420B", "--transport", "usb-vista", "--hang-up-after", "7"});
  result = Cli("ccdf --port " + std::to_string(dropping));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "error: the connection to the sensor was lost\n");
  EXPECT_EQ(result.out, "");
}

}  // namespace
}  // namespace wattrix
