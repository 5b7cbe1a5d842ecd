#include "ui/measure/QueuedReadingSink.h"

#include <QMetaObject>

namespace wattrix {

template <typename Call>
void QueuedReadingSink::Post(Call call) {
  ReadingSink* receiver = &m_receiver;
  QMetaObject::invokeMethod(
      &m_context, [receiver, call] { call(*receiver); }, Qt::QueuedConnection);
}

void QueuedReadingSink::OnAverageReading(int status, std::int32_t power) {
  Post([status, power](ReadingSink& r) { r.OnAverageReading(status, power); });
}

void QueuedReadingSink::OnReverseReading(int status, std::int32_t power) {
  Post([status, power](ReadingSink& r) { r.OnReverseReading(status, power); });
}

void QueuedReadingSink::OnPeakReading(int status, std::int32_t power) {
  Post([status, power](ReadingSink& r) { r.OnPeakReading(status, power); });
}

void QueuedReadingSink::OnAverageReverseReading(int status, std::int32_t forward, std::int32_t reverse) {
  Post([status, forward, reverse](ReadingSink& r) { r.OnAverageReverseReading(status, forward, reverse); });
}

void QueuedReadingSink::OnPulseReading(int status, std::int32_t pulse, std::int32_t c1, std::int32_t c2,
                                       std::int32_t c3, std::int32_t timebase) {
  Post([status, pulse, c1, c2, c3, timebase](ReadingSink& r) {
    r.OnPulseReading(status, pulse, c1, c2, c3, timebase);
  });
}

}  // namespace wattrix
