#include "core/vocabulary/SensorModel.h"
#include "sim/CommandParser.h"
#include "sim/SignalGenerator.h"
#include "sim/SimSensor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace wattrix::sim {
namespace {

std::string Frame(const char* letters, std::int32_t parameter) {
  std::string f = "[";
  f += letters;
  for (int i = 0; i < 4; ++i)
    f += static_cast<char>((static_cast<std::uint32_t>(parameter) >> (8 * i)) & 0xFF);
  return f + "]";
}

std::string Frame(const char* letters) {
  return std::string("[") + letters + (letters == std::string("AS") ? "]\\" : "]");
}

// Everything the sensor answers to `bytes`, concatenated.
std::string Exchange(SimSensor& sensor, const std::string& bytes) {
  std::vector<SimReply> replies;
  sensor.Feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), replies);
  std::string out;
  for (const auto& r : replies) out.append(r.bytes.begin(), r.bytes.end());
  return out;
}

std::int32_t Value(const std::string& reply, std::size_t index) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i)
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(reply[3 + 5 * index + i])) << (8 * i);
  return static_cast<std::int32_t>(v);
}

std::uint16_t U16(const std::string& block, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(block[at]) |
                                    (static_cast<unsigned char>(block[at + 1]) << 8));
}

SimConfig Quiet(int modelCode) {
  auto config = SimConfig::ForModel(modelCode);
  config.signals.noiseDb = 0;
  return config;
}

TEST(CommandParser, FramesInPiecesSeveralAtOnceAndGarbage) {
  CommandParser parser;
  Command c;
  // A parameter whose bytes look like brackets, fed one byte at a time.
  const std::string ga = Frame("GA", 0x5D5B5D5B);
  for (std::size_t i = 0; i < ga.size(); ++i) {
    EXPECT_FALSE(parser.Next(c));
    parser.Feed(reinterpret_cast<const std::uint8_t*>(&ga[i]), 1);
  }
  ASSERT_TRUE(parser.Next(c));
  EXPECT_TRUE(c.Is("GA"));
  EXPECT_EQ(c.parameter, 0x5D5B5D5B);

  // Noise, a broken frame, an unknown command, then two frames and the status query.
  const std::string stream = "xx\r\n[GA\x01\x02\x03\x04X[QQ][GD]" + Frame("AD", -2) + Frame("AS") + "[GV]";
  parser.Feed(reinterpret_cast<const std::uint8_t*>(stream.data()), stream.size());
  std::vector<std::string> names;
  while (parser.Next(c)) names.push_back(c.Name() + (c.hasParameter ? std::to_string(c.parameter) : ""));
  EXPECT_EQ(names, (std::vector<std::string>{"GD", "AD-2", "AS", "GV"}));
}

TEST(SimSensor, IdentityAndBlockSizesByFirmware) {
  for (const auto& model : SensorModels()) {
    auto config = SimConfig::ForModel(model.modelCode);
    config.firmwareVersion = 307;
    config.serialNumber = -5;
    SimSensor sensor(config);
    const auto reply = Exchange(sensor, Frame("GD") + Frame("GV") + Frame("GS"));
    ASSERT_EQ(reply.size(), 27u);
    EXPECT_EQ(Value(reply, 0), model.deviceCode);
    EXPECT_EQ(Value(reply.substr(9), 0), 307);
    EXPECT_EQ(Value(reply.substr(18), 0), -5);
  }
  EXPECT_EQ(SimSensor::CcdfBlockSize(290), 6144u);
  EXPECT_EQ(SimSensor::CcdfBlockSize(291), 7680u);
  EXPECT_EQ(SimSensor::CcdfBlockSize(294), 7680u);
  EXPECT_EQ(SimSensor::CcdfBlockSize(295), 1536u);
}

TEST(SimSensor, ReadingsGiveTheConfiguredVswrParAndPulseShape) {
  auto config = Quiet(model::kPX420B);
  config.signals.forwardDbm = 43.0;
  config.signals.reverseDbm = ReverseForVswr(43.0, 1.8);
  SimSensor px420b(config);
  const auto pair = Exchange(px420b, Frame("GE", 90000));
  ASSERT_EQ(pair.size(), 14u);
  EXPECT_EQ(Value(pair, 0), 4300);
  const double x = (Value(pair, 0) - Value(pair, 1)) / 100.0 / 20.0;
  EXPECT_NEAR((std::pow(10, x) + 1) / (std::pow(10, x) - 1), 1.8, 0.01);

  auto terminating = Quiet(model::kPX470B);
  terminating.signals.peakToAverageDb = 7.5;
  SimSensor px470b(terminating);
  const auto avgPeak = Exchange(px470b, Frame("GA", 1) + Frame("GF", 1));
  ASSERT_EQ(avgPeak.size(), 18u);
  EXPECT_EQ(Value(avgPeak.substr(9), 0) - Value(avgPeak, 0), 750);

  // Duty = count1 / count2 and width = count1 / count3 * w(timebase) for
  // every timebase the averaging command can pick.
  terminating.signals.dutyCycle = 0.125;
  terminating.signals.burstWidthUs = 1000.0;
  SimSensor pulsed(terminating);
  for (const int code : {1, 2, 4, 8, 16}) {
    ASSERT_EQ(Exchange(pulsed, Frame("SU", code)), "[T,]\r");
    const auto pulse = Exchange(pulsed, Frame("GU", 1));
    ASSERT_EQ(pulse.size(), 29u);
    EXPECT_EQ(Value(pulse, 4), code);
    const double c1 = Value(pulse, 1), c2 = Value(pulse, 2), c3 = Value(pulse, 3);
    EXPECT_NEAR(c1 / c2, 0.125, 0.002) << code;
    EXPECT_NEAR(c1 / c3 * SignalGenerator::SamplePeriodUs(code), 1000.0,
                SignalGenerator::SamplePeriodUs(code))
        << code;
  }
}

// Decodes a CCDF block the way its layout is defined and merges it.
void Merge(const std::string& block, std::map<int, long>& merged) {
  const std::size_t counts = block.size() == 1536 ? 587 : block.size() == 6144 ? 3000 : 3744;
  const int first = block.size() == 1536 ? 0 : 2176;
  const int step = block.size() == 1536 ? 10 : 1;
  for (std::size_t i = 0; i < counts; ++i) {
    const std::size_t section = i / 250;
    const std::size_t at = section * 512 + (section == 0 ? 2 : 0) + 2 * (i % 250);
    if (const auto c = U16(block, at)) merged[first + step * static_cast<int>(i)] += c;
  }
}

struct Shape {
  double average = 0;
  double level1 = 0;    // 1 % of the samples lie above it
  double level001 = 0;  // 0.01 %
  long total = 0;
};

Shape Measure(const std::map<int, long>& merged) {
  Shape s;
  double sum = 0;
  for (const auto& [key, count] : merged) {
    s.total += count;
    sum += static_cast<double>(count) * std::pow(10.0, key / 1000.0);
  }
  s.average = 10 * std::log10(sum / static_cast<double>(s.total));
  long cumulative = 0;
  for (auto it = merged.rbegin(); it != merged.rend(); ++it) {
    const long before = cumulative;
    cumulative += it->second;
    if (before < s.total / 10'000 && cumulative >= s.total / 10'000)
      s.level001 = it->first / 100.0 - s.average;
    if (before < s.total / 100 && cumulative >= s.total / 100) s.level1 = it->first / 100.0 - s.average;
  }
  return s;
}

TEST(SimSensor, CcdfSweepsFollowTheEnvelopeInEveryBlockLayout) {
  for (const int firmware : {290, 292, 300}) {
    SCOPED_TRACE(firmware);
    auto config = SimConfig::ForModel(model::kPX420B);
    config.firmwareVersion = firmware;
    config.signals.ccdfAverageDbm = 36.0;
    SimSensor sensor(config);
    std::map<int, long> merged;
    for (int sweep = 0; sweep < 10; ++sweep) {
      const auto block = Exchange(sensor, Frame("GK"));
      ASSERT_EQ(block.size(), SimSensor::CcdfBlockSize(firmware));
      ASSERT_EQ(block.substr(0, 2), "[C");
      // The bytes after the counts of the first section carry none.
      for (std::size_t at = 502; at < 512; ++at) EXPECT_EQ(block[at], '\0');
      Merge(block, merged);
    }
    const auto shape = Measure(merged);
    EXPECT_EQ(shape.total, 100'000);
    EXPECT_NEAR(shape.average, 36.0, 0.15);
    // No technology set: a Rayleigh envelope (1 % at 6.6 dB, 0.01 % at 9.6 dB).
    EXPECT_NEAR(shape.level1, 6.63, 0.3);
    EXPECT_NEAR(shape.level001, 9.64, 0.8);
  }

  // A chosen peak-to-average ratio, and the constant envelope of GSM.
  auto config = SimConfig::ForModel(model::kPX470B);
  config.firmwareVersion = 300;
  config.signals.ccdfPeakToAverageDb = 5.0;
  SimSensor shaped(config);
  std::map<int, long> merged;
  for (int sweep = 0; sweep < 10; ++sweep) Merge(Exchange(shaped, Frame("GK")), merged);
  EXPECT_NEAR(Measure(merged).level001, 5.0, 0.6);

  SimSensor gsm(SimConfig::ForModel(model::kPX470B));
  ASSERT_EQ(Exchange(gsm, Frame("SO", 3)), "[T,]\r");
  merged.clear();
  Merge(Exchange(gsm, Frame("GK")), merged);
  EXPECT_LT(Measure(merged).level001, 0.3);
}

TEST(SimSensor, LogsInSimulatedTimeAndHandsTheValuesBackInRotation) {
  double now = 0;
  auto config = Quiet(model::kPX420B);
  config.signals.timeScale = 10;  // ten simulated seconds per second
  SimSensor sensor(config);
  sensor.SetClock([&now] { return now; });
  const std::string setup = Frame("AE", 0) + Frame("AF", 90000) + Frame("AM", 0x05) + Frame("AI", 2) +
                            Frame("AN", 300) + Frame("AT", 8) + Frame("SN", 2000) + Frame("AU", 1) +
                            Frame("SR", 600) + Frame("AR", 1) + Frame("SO", 6);
  EXPECT_EQ(Exchange(sensor, setup).size(), 11u * 5);

  now = 5;  // 50 simulated seconds: 25 samples of two items
  auto status = Exchange(sensor, Frame("AS"));
  ASSERT_EQ(status.size(), 59u);
  EXPECT_EQ(status.substr(0, 3), "[G,");
  EXPECT_EQ(Value(status, 0), 0x05);
  EXPECT_EQ(Value(status, 1), 1);
  EXPECT_EQ(Value(status, 6), 50);

  now = 100;  // long past the 300 samples
  status = Exchange(sensor, Frame("AS"));
  EXPECT_EQ(Value(status, 1), 0);
  EXPECT_EQ(Value(status, 6), 600);

  const auto log = Exchange(sensor, Frame("AD", 3));
  ASSERT_EQ(log.size(), 1536u);
  EXPECT_EQ(log.substr(0, 2), "[D");
  // Forward then reverse power, 251 values in block 0 and 250 in the others.
  EXPECT_EQ(U16(log, 2), 4000);
  EXPECT_EQ(U16(log, 4), 2602);
  EXPECT_EQ(U16(log, 502), 4000);            // value 250
  EXPECT_EQ(U16(log, 512), 2602);            // value 251
  EXPECT_EQ(U16(log, 1024 + 2 * 98), 2602);  // value 599
  EXPECT_EQ(U16(log, 1024 + 2 * 99), 0);     // nothing logged beyond

  EXPECT_EQ(Exchange(sensor, Frame("AO", 1)), "[T,]\r");
  EXPECT_EQ(Value(Exchange(sensor, Frame("AS")), 6), 0);
  EXPECT_EQ(Exchange(sensor, Frame("AD", 0)), "");  // no block asked for, no answer
}

TEST(SimSensor, FaultsAreRepeatableForASeed) {
  const auto run = [](std::uint64_t seed) {
    auto config = SimConfig::ForModel(model::kPX430A);
    config.faults.dropShare = 0.3;
    config.faults.corruptShare = 0.3;
    config.faults.seed = seed;
    SimSensor sensor(config);
    std::string out;
    int dropped = 0;
    int corrupted = 0;
    for (int i = 0; i < 400; ++i) {
      const auto reply = Exchange(sensor, Frame("GD"));
      if (reply.empty()) {
        ++dropped;
      } else {
        const std::string expected("[D,\x05\0\0\0]\r", 9);
        int differences = 0;
        for (std::size_t b = 0; b < 9; ++b) differences += reply[b] != expected[b];
        EXPECT_LE(differences, 1);
        corrupted += differences;
      }
      out += reply + "|";
    }
    EXPECT_NEAR(dropped, 120, 40);
    EXPECT_NEAR(corrupted, 84, 35);  // 30 % of the replies that were sent
    return out;
  };
  EXPECT_EQ(run(7), run(7));
  EXPECT_NE(run(7), run(8));

  auto config = SimConfig::ForModel(model::kPX430A);
  config.faults.hangUpAfter = 3;
  SimSensor sensor(config);
  EXPECT_EQ(Exchange(sensor, Frame("GD") + Frame("GV")).size(), 18u);
  EXPECT_FALSE(sensor.HungUp());
  EXPECT_EQ(Exchange(sensor, Frame("GS") + Frame("GD")).size(), 9u);  // the third exchange is the last
  EXPECT_TRUE(sensor.HungUp());
  EXPECT_EQ(Exchange(sensor, Frame("GD")), "");
}

}  // namespace
}  // namespace wattrix::sim
