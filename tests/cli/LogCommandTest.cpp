// wattrix-cli log against wattrix-sim: set-up, status, download into a
// history file, clear and stop.
#include "cli/SensorCliFixture.h"
#include "core/history/HistoryDocument.h"
#include "core/vocabulary/Quantity.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace wattrix {
namespace {

using LogCommand = test::SensorCliFixture;

TEST_F(LogCommand, SetUpStatusDownloadClearAndStop) {
  // 600 simulated seconds per second: a 10-minute log is done in a second.
  const std::string port =
      std::to_string(StartSim({"--model", "PX420B", "--transport", "usb-vista", "--time-scale", "600"}));
  const std::string on = " --port " + port;

  auto result = Cli("log setup" + on + " --items 0x05 --interval 20 --runtime 10 --freq 900 --period 2");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "logging=set\n");

  // 600 s / 20 s = 30 samples of two items.
  auto values = Values(Cli("log status" + on).out);
  for (int i = 0; i < 50 && values["logging"] != "0"; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    values = Values(Cli("log status" + on).out);
  }
  EXPECT_EQ(values["items"], "0x05");
  EXPECT_EQ(values["logging"], "0");
  EXPECT_EQ(values["stored"], "60");
  EXPECT_EQ(values["values"].rfind("5,0,20,30,90000,", 0), 0u) << values["values"];

  const std::string file = m_dir.File("log.psh");
  result = Cli("log download" + on + " --out '" + file + "' --title 'Roof antenna'");
  ASSERT_EQ(result.status, 0) << result.err;
  HistoryDocument document;
  ASSERT_TRUE(document.Load(file));
  EXPECT_EQ(document.Header().Mask().Bits(), 0x05);
  EXPECT_EQ(document.Header().Title(), "Roof antenna");
  EXPECT_EQ(document.Count(), 30u);
  const auto info = Values(Cli("psh info '" + file + "'").out);
  EXPECT_EQ(info.at("points"), "30");
  EXPECT_EQ(info.at("model"), "PX420B");

  result = Cli("log clear" + on);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Values(Cli("log status" + on).out)["stored"], "0");
  // Nothing logged: the dialog's warning, and the old file stays.
  const std::string before = test::ReadFileBytes(file);
  result = Cli("log download" + on + " --out '" + file + "'");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "error: The sensor holds no logged data.\n");
  EXPECT_EQ(test::ReadFileBytes(file), before);

  // A long log keeps running until it is stopped.
  ASSERT_EQ(Cli("log setup" + on + " --items 0x01 --interval 60 --runtime 5760").status, 0);
  EXPECT_EQ(Values(Cli("log status" + on).out)["logging"], "1");
  // As in the download dialog, a log still being written is not fetched.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  result = Cli("log download" + on + " --out '" + file + "'");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("still logging"), std::string::npos) << result.err;
  EXPECT_EQ(test::ReadFileBytes(file), before);
  result = Cli("log stop" + on);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Values(Cli("log status" + on).out)["logging"], "0");
}

TEST_F(LogCommand, TheSetChecksAndModelsThatDoNotLog) {
  const std::string on =
      " --port " + std::to_string(StartSim({"--model", "PX420B", "--transport", "usb-vista"}));
  auto result = Cli("log setup" + on + " --items 0x03 --interval 19 --runtime 60");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "error: Invalid Interval Range ( 20 <= sec <= 3600 )\n");
  result = Cli("log setup" + on + " --items 0x01 --interval 60 --runtime 9");
  EXPECT_EQ(result.err, "error: Invalid Logging Count Range ( 10 times <= RunTime/Interval)\n");
  result = Cli("log setup" + on + " --items 0x01 --interval 60 --runtime 5761");
  EXPECT_EQ(result.err, "error: Invalid Runtime Range ( Max : 96 hrs )\n");
  // No item and no interval would divide by zero: refused.
  result = Cli("log setup" + on + " --items 0 --interval 0 --runtime 60");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "error: Invalid Interval Range ( 1 <= sec <= 3600 )\n");
  result = Cli("log setup" + on + " --items 1 --interval 60 --runtime 60 --offset 101");
  EXPECT_EQ(result.err, "error: The external offset must lie between -100 dB and 100 dB.\n");
  EXPECT_EQ(Cli("log setup" + on + " --items 1 --interval 60").status, 2);
  EXPECT_EQ(Cli("log download" + on).status, 2);
  EXPECT_EQ(Cli("log rewind" + on).status, 2);
  EXPECT_EQ(Cli("log").status, 2);

  const std::string other = " --port " + std::to_string(StartSim({"--model", "PX470B"}));
  result = Cli("log status" + other);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "error: the PX470B does not log by itself\n");
}

}  // namespace
}  // namespace wattrix
