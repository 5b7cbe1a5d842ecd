#pragma once

#include "core/device/ReadingSink.h"

#include <QObject>

namespace wattrix {

// The sink a live window registers with AppContext: the acquisition thread
// calls it, and it posts each delivery as a queued call to `context`, where
// it runs against `receiver` on the user-interface thread. A call still
// queued when `context` is destroyed is dropped by Qt, so the receiver
// (owned by the context) is never reached after it is gone. The owner
// unregisters the sink before the context goes, so no post races with it.
class QueuedReadingSink final : public ReadingSink {
 public:
  QueuedReadingSink(QObject& context, ReadingSink& receiver) : m_context(context), m_receiver(receiver) {}

  void OnAverageReading(int status, std::int32_t power) override;
  void OnReverseReading(int status, std::int32_t power) override;
  void OnPeakReading(int status, std::int32_t power) override;
  void OnAverageReverseReading(int status, std::int32_t forward, std::int32_t reverse) override;
  void OnPulseReading(int status, std::int32_t pulse, std::int32_t c1, std::int32_t c2, std::int32_t c3,
                      std::int32_t timebase) override;

 private:
  template <typename Call>
  void Post(Call call);

  QObject& m_context;
  ReadingSink& m_receiver;
};

}  // namespace wattrix
