#include "ui/measure/QueuedReadingSink.h"

#include <QMetaObject>

namespace wattrix {

void QueuedReadingSink::OnReading(const Reading& reading) {
  ReadingSink* receiver = &m_receiver;
  // The copy shares a CCDF sweep instead of copying it.
  QMetaObject::invokeMethod(
      &m_context, [receiver, reading] { receiver->OnReading(reading); }, Qt::QueuedConnection);
}

}  // namespace wattrix
