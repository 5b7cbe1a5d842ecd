#pragma once

#include "core/device/PostingSink.h"

#include <QObject>

namespace wattrix {

// The sink a live window registers with AppContext: the acquisition thread
// calls it, and it posts each delivery as a queued call to `context`, where
// it runs against `receiver` on the user-interface thread. A call still
// queued when `context` is destroyed is dropped by Qt, so the receiver
// (owned by the context) is never reached after it is gone. The owner
// unregisters the sink before the context goes, so no post races with it.
class QueuedReadingSink final : public PostingSink {
 public:
  QueuedReadingSink(QObject& context, ReadingSink& receiver) : m_context(context), m_receiver(receiver) {}

 private:
  void Post(Call call) override;

  QObject& m_context;
  ReadingSink& m_receiver;
};

}  // namespace wattrix
