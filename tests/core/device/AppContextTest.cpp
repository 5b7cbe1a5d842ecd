#include "core/app/AppContext.h"
#include "core/device/ReadingSink.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace wattrix {
namespace {

struct CountingSink final : ReadingSink {
  std::atomic<int> calls{0};
  void OnAverageReading(int, std::int32_t) override { ++calls; }
};

TEST(AppContext, SlotsFollowTheRequestKinds) {
  SinkSlot slot{};
  for (int kind : {0, 1, 2, 3}) {
    ASSERT_TRUE(SinkSlotForRequest(kind, slot));
    EXPECT_EQ(slot, SinkSlot::kMeasurement);
  }
  ASSERT_TRUE(SinkSlotForRequest(4, slot));
  EXPECT_EQ(slot, SinkSlot::kPulse);
  ASSERT_TRUE(SinkSlotForRequest(5, slot));
  EXPECT_EQ(slot, SinkSlot::kCcdf);
  EXPECT_FALSE(SinkSlotForRequest(6, slot));
  EXPECT_FALSE(SinkSlotForRequest(-1, slot));
}

TEST(AppContext, UnregisterOnlyClearsItsOwnSinkAndWaitsForADelivery) {
  AppContext context;
  CountingSink a;
  CountingSink b;
  context.RegisterSink(SinkSlot::kPulse, &a);
  context.RegisterSink(SinkSlot::kPulse, &b);
  context.UnregisterSink(SinkSlot::kPulse, &a);  // a is no longer there: b stays
  EXPECT_EQ(context.RegisteredSink(SinkSlot::kPulse), &b);
  EXPECT_FALSE(context.DeliverTo(SinkSlot::kCcdf, [](ReadingSink&) {}));

  std::atomic<bool> inside{false};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    context.DeliverTo(SinkSlot::kPulse, [&](ReadingSink& sink) {
      inside.store(true);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      sink.OnAverageReading(1, 0);
      done.store(true);
    });
  });
  while (!inside.load()) std::this_thread::yield();
  context.UnregisterSink(SinkSlot::kPulse, &b);
  EXPECT_TRUE(done.load());  // returned only after the delivery ended
  worker.join();
  EXPECT_FALSE(context.DeliverTo(SinkSlot::kPulse, [](ReadingSink& s) { s.OnAverageReading(1, 0); }));
  EXPECT_EQ(b.calls.load(), 1);

  // A sink may unregister itself while it is being called.
  context.RegisterSink(SinkSlot::kMeasurement, &a);
  EXPECT_TRUE(context.DeliverTo(SinkSlot::kMeasurement, [&](ReadingSink& sink) {
    context.UnregisterSink(SinkSlot::kMeasurement, &sink);
  }));
  EXPECT_EQ(context.RegisteredSink(SinkSlot::kMeasurement), nullptr);
}

}  // namespace
}  // namespace wattrix
