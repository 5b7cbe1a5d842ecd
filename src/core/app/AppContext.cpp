#include "core/app/AppContext.h"

namespace wattrix {

bool SinkSlotForRequest(int requestKind, SinkSlot& slot) {
  if (requestKind >= 0 && requestKind <= 3) {
    slot = SinkSlot::kMeasurement;
  } else if (requestKind == 4) {
    slot = SinkSlot::kPulse;
  } else if (requestKind == 5) {
    slot = SinkSlot::kCcdf;
  } else {
    return false;
  }
  return true;
}

AppContext& AppContext::Instance() {
  static AppContext context;
  return context;
}

void AppContext::RegisterSink(SinkSlot slot, ReadingSink* sink) {
  Slot& s = m_slots[static_cast<std::size_t>(slot)];
  std::lock_guard lock(s.mutex);
  s.sink = sink;
}

void AppContext::UnregisterSink(SinkSlot slot, ReadingSink* sink) {
  Slot& s = m_slots[static_cast<std::size_t>(slot)];
  std::lock_guard lock(s.mutex);
  if (s.sink == sink) s.sink = nullptr;
}

ReadingSink* AppContext::RegisteredSink(SinkSlot slot) const {
  const Slot& s = m_slots[static_cast<std::size_t>(slot)];
  std::lock_guard lock(s.mutex);
  return s.sink;
}

}  // namespace wattrix
