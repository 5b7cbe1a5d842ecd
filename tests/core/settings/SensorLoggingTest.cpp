// The logging set-up, fetch and save on a simulated PX420B behind a real
// pty that sends its replies at 9600 baud.
#include "core/device/LogTransfer.h"
#include "core/device/SensorLink.h"
#include "core/history/HistoryFile.h"
#include "core/measure/MeasurementSettings.h"
#include "core/settings/SensorLogging.h"
#include "core/vocabulary/Quantity.h"
#include "core/vocabulary/SensorModel.h"
#include "support/SimHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <thread>

namespace wattrix {
namespace {

using logging_download::FetchOutcome;

TEST(SensorLogging, ALongLogArrivesOverASerialLinkAndIsSavedAsHistory) {
  test::SimHarness harness;
  auto config = sim::SimConfig::ForModel(model::kPX420B);
  config.signals.timeScale = 2000;  // simulated seconds per second
  auto* endpoint = harness.Start(sim::SimTransport::kSerial, config, 0, {.baudPacing = true});
  ASSERT_NE(endpoint, nullptr);
  MeasurementSettings settings;
  SensorLink link;
  ASSERT_EQ(link.Connect(endpoint->PortNumber()), 0);
  settings.SetModelCode(model::kPX420B);

  // 1200 forward readings, one a second: five blocks, 2560 bytes, close to
  // three seconds on the wire.
  logging_setup::LoggingConfiguration setup;
  setup.frequency = 240000;
  setup.itemMask = QuantityMask{0x01};
  setup.intervalSeconds = 1;
  setup.sampleCount = 1200;
  ASSERT_TRUE(logging_setup::ConfigureLogging(link, setup, settings));
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  ASSERT_TRUE(link.ReadLoggingStatus());
  ASSERT_EQ(link.LoggingStatus(1), 0);
  ASSERT_EQ(link.LoggingStatus(6), 1200);

  // The USB link's one second is too short for that on a serial line.
  EXPECT_EQ(logging_download::FetchLog(link, settings, false), FetchOutcome::Failed);
  EXPECT_EQ(logging_download::FetchWarningKey(FetchOutcome::Failed), "S_SETTING_WARNING_DN_FAIL");
  std::this_thread::sleep_for(std::chrono::milliseconds(3000));  // let the late block drain

  // Over serial the time-out grows with the byte count.
  ASSERT_EQ(logging_download::FetchLog(link, settings, true), FetchOutcome::Fetched);
  EXPECT_EQ(logging_download::FetchWarningKey(FetchOutcome::Fetched), "");
  EXPECT_EQ(settings.Count(kAvg), 1200);

  test::TempDir dir;
  const std::string path = dir.File("log.psh");
  ASSERT_TRUE(logging_download::SaveFetchedLog(path, settings, link, "Mast"));
  HistoryHeader header;
  std::vector<std::int32_t> points;
  std::size_t count = 0;
  ASSERT_TRUE(ReadHistoryFile(path, header, points, count));
  EXPECT_EQ(count, 1200u);
  EXPECT_EQ(header.Mask().Bits(), 0x01);
  EXPECT_EQ(header.Title(), "Mast");
  // A folder that does not exist: the save fails and says so.
  EXPECT_FALSE(logging_download::SaveFetchedLog(dir.File("none/log.psh"), settings, link, ""));

  // Nothing logged: nothing is asked, and the histories stay.
  ASSERT_TRUE(link.ClearLoggingMemory());
  ASSERT_TRUE(link.ReadLoggingStatus());
  EXPECT_EQ(logging_download::FetchLog(link, settings, true), FetchOutcome::NothingLogged);
  EXPECT_EQ(logging_download::FetchWarningKey(FetchOutcome::NothingLogged), "S_SETTING_WARNING_DN_0_FAIL");
  EXPECT_EQ(settings.Count(kAvg), 1200);
  link.Disconnect();
}

// The dialog's fetch: the transfer off the owner's thread, watched and
// cancellable, and the histories replaced only by a whole log.
TEST(SensorLogging, AWatchedFetchOverASerialLinkShowsProgressAndCanBeCancelled) {
  test::SimHarness harness;
  auto config = sim::SimConfig::ForModel(model::kPX420B);
  config.signals.timeScale = 2000;
  auto* endpoint = harness.Start(sim::SimTransport::kSerial, config, 0, {.baudPacing = true});
  ASSERT_NE(endpoint, nullptr);
  MeasurementSettings settings;
  SensorLink link;
  ASSERT_EQ(link.Connect(endpoint->PortNumber()), 0);
  settings.SetModelCode(model::kPX420B);

  // 600 samples of forward and reverse: 1200 values, five blocks.
  logging_setup::LoggingConfiguration setup;
  setup.frequency = 240000;
  setup.itemMask = QuantityMask{0x05};
  setup.intervalSeconds = 1;
  setup.sampleCount = 600;
  ASSERT_TRUE(logging_setup::ConfigureLogging(link, setup, settings));
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  ASSERT_TRUE(link.ReadLoggingStatus());
  ASSERT_EQ(link.LoggingStatus(6), 1200);
  settings.AddReading(kAvg, 1.0f);  // the run in the histories

  auto waitFor = [](const std::function<bool()>& done) {
    for (int i = 0; i < 2000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  };

  // Cancelled after two blocks: nothing kept, nothing stored.
  {
    LogTransferControl control;
    std::vector<std::uint16_t> values;
    FetchOutcome outcome = FetchOutcome::Fetched;
    std::thread transfer([&] { outcome = logging_download::ReadFetch(link, true, values, control); });
    waitFor([&] { return control.Received() >= 1024; });
    EXPECT_LT(control.Received(), control.Total());
    control.Cancel();
    transfer.join();
    EXPECT_EQ(outcome, FetchOutcome::Cancelled);
    EXPECT_TRUE(values.empty());
    EXPECT_EQ(settings.Count(kAvg), 1);
    EXPECT_EQ(logging_download::FetchWarningKey(outcome), "S_SETTING_WARNING_DN_CANCEL");
  }
  // The rest of that log is still on the wire; it is not taken for the
  // next answer.
  ASSERT_TRUE(link.ReadLoggingStatus());
  EXPECT_EQ(link.LoggingStatus(6), 1200);

  // Watched to the end: the progress moves block by block, then the whole
  // log replaces the run.
  LogTransferControl control;
  std::vector<std::uint16_t> values;
  FetchOutcome outcome = FetchOutcome::Failed;
  std::atomic<bool> finished{false};
  std::thread transfer([&] {
    outcome = logging_download::ReadFetch(link, true, values, control);
    finished = true;
  });
  std::set<std::size_t> seen;
  while (!finished) {
    seen.insert(control.Received());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  transfer.join();
  ASSERT_EQ(outcome, FetchOutcome::Fetched);
  EXPECT_EQ(control.Total(), 5u * 512u);
  EXPECT_EQ(control.Received(), control.Total());
  EXPECT_GE(seen.size(), 3u);  // several steps between 0 and the total
  ASSERT_EQ(values.size(), 1200u);
  EXPECT_EQ(logging_download::StoreFetch(settings, QuantityMask(link.LoggingStatus(0)), values), 1200);
  EXPECT_EQ(settings.Count(kAvg), 600);
  EXPECT_EQ(settings.Count(kRev), 600);
  link.Disconnect();
}

}  // namespace
}  // namespace wattrix
