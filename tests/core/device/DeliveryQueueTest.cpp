#include "core/device/DeliveryQueue.h"
#include "core/device/RecordingSink.h"
#include "core/device/TestReadings.h"

#include <gtest/gtest.h>

#include <thread>

namespace wattrix {
namespace {

// A sink that also notes the thread each delivery ran on.
class ThreadNotingSink final : public ReadingSink {
 public:
  void OnReading(const Reading& reading) override {
    threads.push_back(std::this_thread::get_id());
    values.push_back(static_cast<int>(reading.status) * 100000 + reading.Value());
  }
  std::vector<std::thread::id> threads;
  std::vector<std::int32_t> values;
};

TEST(DeliveryQueue, RunsDeliveriesOnTheDispatchingThreadInOrder) {
  DeliveryQueue queue;
  ThreadNotingSink sink;
  EXPECT_EQ(queue.Dispatch(sink, 10), 0);  // nothing came: time-out

  std::thread worker([&queue] {
    for (int i = 0; i < 50; ++i) queue.OnReading(test::AverageReading(1, i));
  });
  int handled = 0;
  while (handled < 50) {
    const int n = queue.Dispatch(sink, 1000);
    ASSERT_GT(n, 0);
    handled += n;
  }
  worker.join();
  EXPECT_EQ(queue.Pending(), 0u);
  ASSERT_EQ(sink.values.size(), 50u);
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(sink.values[static_cast<std::size_t>(i)], 100000 + i);
    EXPECT_EQ(sink.threads[static_cast<std::size_t>(i)], std::this_thread::get_id());
  }
}

TEST(DeliveryQueue, KeepsEveryEntryPointsValuesAndItsOwnHistogramCopy) {
  DeliveryQueue queue;
  test::RecordingSink sink;
  CcdfHistogram histogram{{100, 5}, {110, 7}};
  queue.OnReading(test::AverageReading(1, 11));
  queue.OnReading(test::ReverseReading(0, -1));
  queue.OnReading(test::PeakReading(1, 33));
  queue.OnReading(test::AverageReverseReading(1, 44, 55));
  queue.OnReading(test::PulseReading(1, 1, 2, 3, 4, 8));
  queue.OnReading(test::CcdfReading(1, histogram));
  histogram.clear();  // the queued reading keeps its own sweep
  EXPECT_EQ(queue.Pending(), 6u);
  EXPECT_EQ(queue.Dispatch(sink, 0), 6);
  const auto calls = sink.Calls();
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[0].entry, "avg");
  EXPECT_EQ(calls[1].entry, "rev");
  EXPECT_EQ(calls[1].status, 0);
  EXPECT_EQ(calls[2].values, std::vector<std::int32_t>{33});
  EXPECT_EQ(calls[3].values, (std::vector<std::int32_t>{44, 55}));
  EXPECT_EQ(calls[4].values, (std::vector<std::int32_t>{1, 2, 3, 4, 8}));
  EXPECT_EQ(calls[5].histogram, (CcdfHistogram{{100, 5}, {110, 7}}));
}

}  // namespace
}  // namespace wattrix
