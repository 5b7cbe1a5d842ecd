#include "core/device/DeliveryHandle.h"

namespace wattrix {

void DeliveryHandle::Revoke() {
  std::lock_guard lock(m_mutex);
  m_sink = nullptr;
}

bool DeliveryHandle::Revoked() const {
  std::lock_guard lock(m_mutex);
  return m_sink == nullptr;
}

}  // namespace wattrix
