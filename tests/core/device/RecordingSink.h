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

  void OnAverageReading(int status, std::int32_t power) override { Record({"avg", status, {power}, {}}); }
  void OnReverseReading(int status, std::int32_t power) override { Record({"rev", status, {power}, {}}); }
  void OnPeakReading(int status, std::int32_t power) override { Record({"peak", status, {power}, {}}); }
  void OnAverageReverseReading(int status, std::int32_t forward, std::int32_t reverse) override {
    Record({"avgrev", status, {forward, reverse}, {}});
  }
  void OnPulseReading(int status, std::int32_t p, std::int32_t c1, std::int32_t c2, std::int32_t c3,
                      std::int32_t timebase) override {
    Record({"pulse", status, {p, c1, c2, c3, timebase}, {}});
  }
  void OnCcdfAcquired(int status, const CcdfHistogram& histogram) override {
    Record({"ccdf", status, {}, histogram});
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
