#include "ui/measure/QueuedReadingSink.h"

#include <QMetaObject>

#include <utility>

namespace wattrix {

void QueuedReadingSink::Post(Call call) {
  ReadingSink* receiver = &m_receiver;
  QMetaObject::invokeMethod(
      &m_context, [receiver, call = std::move(call)] { call(*receiver); }, Qt::QueuedConnection);
}

}  // namespace wattrix
