#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <mutex>

namespace wattrix {

class MeasurementSettings;
class ReadingSink;

// The window kinds the acquisition thread delivers to.
enum class SinkSlot : std::size_t { kMeasurement = 0, kPulse = 1, kCcdf = 2 };

// The window slot that receives the readings of a request kind: 0-3 the
// measurement window, 4 the pulse window, 5 the CCDF window.
bool SinkSlotForRequest(int requestKind, SinkSlot& slot);

// The process-wide set of pointers the subsystems meet through: the
// settings record in use and the windows that receive readings.
// Registration and delivery exclude each other per slot: once
// UnregisterSink has returned, that sink is never called again, even when
// a delivery was in flight (Unregister waits for it to end).
class AppContext final {
 public:
  static AppContext& Instance();

  AppContext() = default;
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  void SetSettings(MeasurementSettings* settings) { m_settings.store(settings); }
  MeasurementSettings* Settings() const { return m_settings.load(); }

  void RegisterSink(SinkSlot slot, ReadingSink* sink);
  // Clears the slot when it still holds `sink`; waits for a delivery to it
  // that is under way. May be called from inside that sink's delivery.
  void UnregisterSink(SinkSlot slot, ReadingSink* sink);
  ReadingSink* RegisteredSink(SinkSlot slot) const;

  // Calls deliver(sink) with the slot's sink while holding the slot, so
  // that it cannot be unregistered meanwhile. False when the slot is empty.
  template <typename Deliver>
  bool DeliverTo(SinkSlot slot, Deliver&& deliver) {
    Slot& s = m_slots[static_cast<std::size_t>(slot)];
    std::lock_guard lock(s.mutex);
    if (s.sink == nullptr) return false;
    deliver(*s.sink);
    return true;
  }

 private:
  struct Slot {
    // Recursive so that a sink may unregister itself during its delivery.
    mutable std::recursive_mutex mutex;
    ReadingSink* sink = nullptr;
  };

  std::atomic<MeasurementSettings*> m_settings{nullptr};
  std::array<Slot, 3> m_slots;
};

}  // namespace wattrix
