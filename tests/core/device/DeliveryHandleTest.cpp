#include "core/device/DeliveryHandle.h"
#include "core/device/LinkFixture.h"
#include "core/device/RecordingSink.h"
#include "core/device/TestReadings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace wattrix {
namespace {

struct CountingSink final : ReadingSink {
  std::atomic<int> calls{0};
  void OnReading(const Reading&) override { ++calls; }
};

TEST(DeliveryHandle, RevokeWaitsForADeliveryAndEndsEveryLaterOne) {
  CountingSink sink;
  DeliveryHandle handle(sink);
  EXPECT_TRUE(handle.Deliver(test::AverageReading(1, 0), [] { return false; }));  // not wanted
  EXPECT_EQ(sink.calls.load(), 0);

  std::atomic<bool> inside{false};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    handle.Deliver(test::AverageReading(1, 0), [&] {
      inside.store(true);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      done.store(true);
      return true;
    });
  });
  while (!inside.load()) std::this_thread::yield();
  handle.Revoke();
  EXPECT_TRUE(done.load());  // returned only after the delivery ended
  worker.join();
  EXPECT_EQ(sink.calls.load(), 1);
  EXPECT_TRUE(handle.Revoked());
  EXPECT_FALSE(handle.Deliver(test::AverageReading(1, 0)));
  EXPECT_EQ(sink.calls.load(), 1);
}

TEST(DeliveryHandle, AReceiverMayRevokeItsOwnHandleDuringItsDelivery) {
  struct Revoking final : ReadingSink {
    DeliveryHandle* handle = nullptr;
    int calls = 0;
    void OnReading(const Reading&) override {
      ++calls;
      handle->Revoke();
    }
  } sink;
  DeliveryHandle handle(sink);
  sink.handle = &handle;
  EXPECT_TRUE(handle.Deliver(test::AverageReading(1, 0)));
  EXPECT_FALSE(handle.Deliver(test::AverageReading(1, 0)));
  EXPECT_EQ(sink.calls, 1);
}

TEST(DeliveryHandle, EachAnswerGoesToTheWindowThatAsked) {
  test::LinkRig rig(10, 291);
  ASSERT_EQ(rig.link.Connect(1), 0);
  test::RecordingSink measurement(&rig.link);
  test::RecordingSink pulse(&rig.link);
  const auto toMeasurement = std::make_shared<DeliveryHandle>(measurement);
  const auto toPulse = std::make_shared<DeliveryHandle>(pulse);
  rig.sensor.pulse = {4100, -20, 30, 40, 16};
  ASSERT_TRUE(rig.Request(RequestKind::Pulse, 1, 500, toPulse));
  ASSERT_TRUE(pulse.WaitFor(1));
  ASSERT_TRUE(rig.Request(RequestKind::AverageReverse, 1, 500, toMeasurement));
  ASSERT_TRUE(measurement.WaitFor(1));
  EXPECT_EQ(pulse.Calls().size(), 1u);
  EXPECT_EQ(pulse.Calls()[0].entry, "pulse");
  EXPECT_EQ(measurement.Calls()[0].entry, "avgrev");

  // A revoked window is not called; the request is still served.
  toPulse->Revoke();
  rig.Wire().ClearLog();
  ASSERT_TRUE(rig.Request(RequestKind::Pulse, 1, 500, toPulse));
  ASSERT_TRUE(rig.Request(RequestKind::AverageReverse, 1, 500, toMeasurement));
  ASSERT_TRUE(measurement.WaitFor(2));
  EXPECT_EQ(pulse.Calls().size(), 1u);
  rig.link.Disconnect();
}

}  // namespace
}  // namespace wattrix
