#include "cli/ReadingQueue.h"

namespace wattrix::cli {

ReadingQueue::ReadingQueue() : m_handle(std::make_shared<DeliveryHandle>(m_queue)) {}

ReadingQueue::~ReadingQueue() { m_handle->Revoke(); }

}  // namespace wattrix::cli
