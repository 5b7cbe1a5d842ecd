// wattrix-cli measure end to end: the built program against wattrix-sim
// over the USB stand-in and a pty.
#include "cli/SensorCliFixture.h"
#include "core/history/HistoryFile.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace wattrix {
namespace {

using MeasureCommand = test::SensorCliFixture;

// "NAME count=K first=… min=… max=… last=… average=…", values "%.2f".
std::vector<std::string> SummaryNames(const std::string& out, double low, double high) {
  static const std::regex line(
      R"(^(\w+) count=(\d+) first=(-?\d+\.\d\d) min=(-?\d+\.\d\d) max=(-?\d+\.\d\d) last=(-?\d+\.\d\d) average=(-?\d+\.\d\d)$)");
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < out.size()) {
    const auto end = out.find('\n', start);
    const std::string text = out.substr(start, end - start);
    start = end == std::string::npos ? out.size() : end + 1;
    std::smatch m;
    if (!std::regex_match(text, m, line)) continue;
    names.push_back(m[1]);
    if (m[1] == "VSWR" || m[1] == "PAR") continue;
    for (int i = 3; i <= 7; ++i) {
      const double v = std::stod(m[i]);
      EXPECT_TRUE(v >= low && v <= high) << text;
    }
  }
  return names;
}

TEST_F(MeasureCommand, AvgPeakOnADirectionalSensorAndItsSavedRun) {
  ASSERT_EQ(StartSim({"--model", "PX420B", "--transport", "usb-vista", "--forward", "40", "--vswr", "1.5",
                      "--noise", "0"}),
            -1);
  const auto file = m_dir.File("run.psh");
  const auto result = Cli("measure --port -1 --mode avgpeak --count 5 --save " + file);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(SummaryNames(result.out, 39.8, 43.5), (std::vector<std::string>{"AVG", "VSWR", "PEAK"}));
  EXPECT_NE(result.out.find("AVG count=5 "), std::string::npos) << result.out;
  EXPECT_TRUE(std::regex_search(result.out, std::regex(R"(\nVSWR count=5 first=1\.5[01] )"))) << result.out;

  HistoryHeader header;
  std::vector<std::int32_t> points;
  std::size_t count = 0;
  ASSERT_TRUE(ReadHistoryFile(file, header, points, count));
  EXPECT_EQ(header.Mask().Bits(), 0x13);
  EXPECT_GE(count, 4u);
  EXPECT_NEAR(points[0], 4000, 20);
  // The settings file is read, never written.
  EXPECT_TRUE(test::ReadFileBytes(Home() + "/PX420B.ini").empty());
}

TEST_F(MeasureCommand, ParAndPulseOnThePx470bWithItsSettingsFile) {
  // The model's settings file applies (offset 1.5 dB); the options come on top.
  const std::string ini =
      "[HEADER]\nDEVICE=PX470B\nFREQUENCY=  2400.00000000\nEXTOFFSET=  1.50000000\n"
      "DECIMAL=2\nTECH=7\n[AVG]\nREPEAT=1\n";
  test::WriteFileBytes(Home() + "/PX470B.ini", ini);
  ASSERT_EQ(StartSim({"--model", "PX470B", "--transport", "usb-vista", "--forward", "-5", "--par", "3",
                      "--pulse-power", "-5", "--pulse-duty", "25", "--pulse-width", "577", "--noise", "0"}),
            -1);

  auto result = Cli("measure --port -1 --mode avgpeak --count 4");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(SummaryNames(result.out, -3.7, 0.0), (std::vector<std::string>{"AVG", "PAR", "PEAK"}));
  EXPECT_NE(result.out.find("AVG count=4 first=-3.5"), std::string::npos) << result.out;

  result = Cli("measure --port -1 --mode pulse --count 3 --duty 500 --offset 0");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(SummaryNames(result.out, -5.1, -4.9), (std::vector<std::string>{"PULSE"}));
  EXPECT_NE(result.out.find("\nduty_cycle=50.00\n"), std::string::npos) << result.out;
  EXPECT_TRUE(std::regex_search(result.out, std::regex(R"(\nburst_width=5[6-9]\d\.\d{3}\nrejected=0\n$)")))
      << result.out;
  EXPECT_EQ(test::ReadFileBytes(Home() + "/PX470B.ini"), ini);
}

TEST_F(MeasureCommand, PeakOverAComPortAndRefusedModes) {
  const int com = StartSim({"--model", "PX450A"});
  ASSERT_NE(com, 0);
  const auto port = std::to_string(com);
  auto result = Cli("measure --port " + port + " --mode peak --count 2 --freq 100");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(SummaryNames(result.out, -3, -1), (std::vector<std::string>{"PEAK"}));
  EXPECT_NE(result.out.find("PEAK count=2 "), std::string::npos);

  result = Cli("measure --port " + port + " --mode avgpeak");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "error: mode 'avgpeak' is not offered by PX450A\n");
  EXPECT_TRUE(result.out.empty());
  // The settings pages' checks: a frequency outside the model's range.
  result = Cli("measure --port " + port + " --mode peak --freq 5000");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "error: The frequency is outside the range of this sensor.\n");
  // Values strtod reads but that are no numbers in range: refused, not sent.
  result = Cli("measure --port " + port + " --mode peak --freq nan");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "error: The frequency is outside the range of this sensor.\n");
  result = Cli("measure --port " + port + " --mode peak --offset nan");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "error: The external offset must lie between -100 dB and 100 dB.\n");

  EXPECT_EQ(Cli("measure --port " + port + " --mode ccdf").status, 2);
  EXPECT_EQ(Cli("measure --mode peak").status, 2);
  EXPECT_EQ(Cli("measure --port 1 --mode peak --count 0").status, 1);
  EXPECT_EQ(Cli("measure --port 1 --mode peak --tech 8").status, 1);
}

TEST_F(MeasureCommand, GivesUpOnASensorThatStopsAnswering) {
  // Identification and one reading, then the line drops: noticed at once.
  ASSERT_EQ(StartSim({"--model", "PX430A", "--transport", "usb-vista", "--hang-up-after", "4"}), -1);
  auto result = Cli("measure --port -1 --mode avg --count 3");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "error: the connection to the sensor was lost\n");
  EXPECT_TRUE(result.out.empty());
}

TEST_F(MeasureCommand, ValuesOutOfRangeFailAlikeInEveryCommand) {
  // Out of range is a validation failure (1), not a number a usage error (2),
  // whichever command checks it and whether or not a sensor is there.
  for (const std::string command : {"measure --mode avg", "ccdf"}) {
    EXPECT_EQ(Cli(command + " --port 1 --tech 9").status, 1) << command;
    EXPECT_EQ(Cli(command + " --port 1 --tech -1").status, 1) << command;
    EXPECT_EQ(Cli(command + " --port 1 --tech nine").status, 2) << command;
    EXPECT_EQ(Cli(command + " --port 99999999999").status, 1) << command;
  }
  EXPECT_EQ(Cli("identify --port 99999999999").status, 1);
  EXPECT_EQ(Cli("log status --port 99999999999").status, 1);
  EXPECT_EQ(Cli("measure --port 1 --mode avg --count 100001").status, 1);
  EXPECT_EQ(Cli("measure --port 1 --mode avg --repeat 99999999999").status, 1);
  EXPECT_EQ(Cli("measure --port 99999999999 --mode avg --count x").status, 2);
  // Not a number: usage, also where no sensor is there to connect to.
  EXPECT_EQ(Cli("log setup --port 250 --items x --interval 60 --runtime 1").status, 2);
  EXPECT_EQ(Cli("measure --port 250 --mode avg --freq x").status, 2);
}

}  // namespace
}  // namespace wattrix
