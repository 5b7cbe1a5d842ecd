#pragma once

#include "core/device/ReadingSink.h"

#include <QObject>

namespace wattrix {

// The receiver behind a live window's delivery handle: the acquisition
// thread calls it, and it posts each Reading as a queued call to
// `context`, where it is passed on unchanged to `receiver` (the window's
// logic) on the user-interface thread. A call still queued when `context`
// is destroyed is dropped by Qt, so the receiver (owned by the context) is
// never reached after it is gone. The owner revokes the handle before the
// context goes, so no post races with it.
class QueuedReadingSink final : public ReadingSink {
 public:
  QueuedReadingSink(QObject& context, ReadingSink& receiver) : m_context(context), m_receiver(receiver) {}

  void OnReading(const Reading& reading) override;

 private:
  QObject& m_context;
  ReadingSink& m_receiver;
};

}  // namespace wattrix
