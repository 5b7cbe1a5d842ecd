#include "cli/SlotQueue.h"

namespace wattrix::cli {

SlotQueue::SlotQueue(SinkSlot slot) : m_slot(slot) { AppContext::Instance().RegisterSink(m_slot, &m_queue); }

SlotQueue::~SlotQueue() { AppContext::Instance().UnregisterSink(m_slot, &m_queue); }

}  // namespace wattrix::cli
