#pragma once

#include "core/device/ReadingSink.h"
#include "core/device/SensorLink.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace wattrix::test {

// A window stand-in: records every delivery and, like a window, clears
// the link's BusyFlag when it has used one.
class RecordingSink final : public ReadingSink {
 public:
  struct Call {
    std::string entry;
    int status;
    std::vector<std::int32_t> values;
    CcdfHistogram histogram;
  };

  explicit RecordingSink(SensorLink* link = nullptr) : m_link(link) {}

  void OnReading(const Reading& reading) override {
    const int status = static_cast<int>(reading.status);
    const auto first = [&](std::size_t n) {
      return std::vector<std::int32_t>(reading.values.begin(), reading.values.begin() + static_cast<long>(n));
    };
    switch (reading.kind) {
      case RequestKind::Average:
        return Record({"avg", status, first(1), {}});
      case RequestKind::Reverse:
        return Record({"rev", status, first(1), {}});
      case RequestKind::Peak:
        return Record({"peak", status, first(1), {}});
      case RequestKind::AverageReverse:
        return Record({"avgrev", status, first(2), {}});
      case RequestKind::Pulse:
        return Record({"pulse", status, first(5), {}});
      case RequestKind::Ccdf:
        return Record({"ccdf", status, {}, reading.Histogram()});
    }
  }

  // Waits until `count` deliveries arrived; false after `ms`.
  bool WaitFor(std::size_t count, int ms = 5000) {
    std::unique_lock lock(m_mutex);
    return m_cv.wait_for(lock, std::chrono::milliseconds(ms), [&] { return m_calls.size() >= count; });
  }
  std::vector<Call> Calls() {
    std::lock_guard lock(m_mutex);
    return m_calls;
  }

 private:
  void Record(Call call) {
    // The flag is cleared before the call is seen: a test that waits for
    // the call and asks again at once must not have its new request's
    // flag cleared by this one.
    if (m_link) m_link->SetBusyFlag(false);
    {
      std::lock_guard lock(m_mutex);
      m_calls.push_back(std::move(call));
    }
    m_cv.notify_all();
  }

  SensorLink* m_link;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::vector<Call> m_calls;
};

}  // namespace wattrix::test
