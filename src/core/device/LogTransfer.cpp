#include "core/device/LogTransfer.h"

#include <utility>

namespace wattrix {

void LogTransferControl::Cancel() {
  m_cancelled.store(true, std::memory_order_release);
  std::lock_guard lock(m_interruptMutex);
  if (m_interrupt) m_interrupt();
}

void LogTransferControl::Begin(std::size_t total, std::function<void()> interrupt) {
  m_received.store(0, std::memory_order_release);
  m_total.store(total, std::memory_order_release);
  std::lock_guard lock(m_interruptMutex);
  m_interrupt = std::move(interrupt);
}

void LogTransferControl::End() {
  // After this no cancel reaches the transport, which may then go away.
  std::lock_guard lock(m_interruptMutex);
  m_interrupt = nullptr;
}

}  // namespace wattrix
