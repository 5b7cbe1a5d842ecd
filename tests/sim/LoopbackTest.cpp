#include "core/vocabulary/SensorModel.h"
#include "sim/SimLoopbackDevice.h"
#include "support/RepeatedCancel.h"

#include <gtest/gtest.h>

#include <chrono>

namespace wattrix::sim {
namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

bool Send(CPowerDevice& device, const char* frame) {
  std::size_t written = 0;
  return device.Write(reinterpret_cast<const std::uint8_t*>(frame), 4, &written) && written == 4;
}

TEST(SimLoopbackDevice, DelaysTimeOutsCancelAndHangUp) {
  auto config = SimConfig::ForModel(model::kPX470B);
  config.faults.delayMs = 200;
  config.faults.hangUpAfter = 3;
  SimLoopbackDevice device(config);
  std::uint8_t reply[9] = {};
  std::size_t received = 0;
  EXPECT_FALSE(Send(device, "[GD]"));  // not open yet
  ASSERT_TRUE(device.Open(-1));

  // A reply held back past the time-out: the read fails, the bytes stay.
  ASSERT_TRUE(Send(device, "[GD]"));
  EXPECT_FALSE(device.Read(reply, 9, &received, 50));
  EXPECT_TRUE(device.Read(reply, 9, &received, 1000));
  EXPECT_EQ(reply[1], 'D');

  // Cancelled from another thread long before the reply is due.
  ASSERT_TRUE(Send(device, "[GV]"));
  auto start = Clock::now();
  {
    test::RepeatedCancel canceller(device);
    EXPECT_FALSE(device.Read(reply, 9, &received, 10'000));
  }
  EXPECT_LT(MsSince(start), 180);
  // Once it has arrived, a discard drops it.
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  device.DiscardInput();
  EXPECT_FALSE(device.Read(reply, 1, &received, 0));

  // The third exchange is the last; afterwards reads fail at once.
  ASSERT_TRUE(Send(device, "[GS]"));
  EXPECT_TRUE(device.Read(reply, 9, &received, 1000));
  EXPECT_EQ(reply[1], 'S');
  EXPECT_FALSE(Send(device, "[GD]"));
  start = Clock::now();
  EXPECT_FALSE(device.Read(reply, 9, &received, 10'000));
  EXPECT_LT(MsSince(start), 1000);
}

TEST(SimLoopbackDevice, WritePauseAndFailingOpen) {
  SimLoopbackDevice device(SimConfig::ForModel(model::kPX430A));
  device.SetOpenFails(true);
  EXPECT_FALSE(device.Open(1));
  device.SetOpenFails(false);
  ASSERT_TRUE(device.Open(1));
  device.SetWritePause(5000);
  const auto start = Clock::now();
  {
    test::RepeatedCancel canceller(device);
    EXPECT_FALSE(Send(device, "[GD]"));  // the pause was cut short
  }
  EXPECT_LT(MsSince(start), 1000);
  std::uint8_t reply[9] = {};
  std::size_t received = 0;
  EXPECT_TRUE(device.Read(reply, 9, &received, 1000));  // the command itself went out
  EXPECT_EQ(received, 9u);
}

}  // namespace
}  // namespace wattrix::sim
