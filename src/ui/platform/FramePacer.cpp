#include "ui/platform/FramePacer.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace wattrix {

namespace {

constexpr int kDefaultIntervalMs = 16;

int ScreenFrameInterval() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double hz = screen ? screen->refreshRate() : 0.0;
  // A screen that reports no sensible rate is taken as a 60 Hz one.
  if (!(hz >= 20.0 && hz <= 500.0)) return kDefaultIntervalMs;
  return std::max(1, static_cast<int>(std::floor(1000.0 / hz)));
}

}  // namespace

FramePacer::FramePacer(QObject* parent) : QObject(parent), m_intervalMs(ScreenFrameInterval()) {
  m_timer.setSingleShot(true);
  m_timer.setTimerType(Qt::PreciseTimer);
  connect(&m_timer, &QTimer::timeout, this, &FramePacer::Flush);
}

void FramePacer::SetFrameInterval(int ms) { m_intervalMs = std::max(0, ms); }

void FramePacer::Request(QWidget& widget, const QRegion& region) {
  if (region.isEmpty()) return;
  auto it = std::find_if(m_pending.begin(), m_pending.end(),
                         [&widget](const Entry& e) { return e.widget == &widget; });
  if (it == m_pending.end()) {
    m_pending.push_back(Entry{&widget, region});
  } else {
    it->region += region;
  }
  if (m_timer.isActive()) return;
  // One frame after the last paint, or at once when that is past.
  const qint64 since = m_sinceFlush.isValid() ? m_sinceFlush.elapsed() : m_intervalMs;
  m_timer.start(static_cast<int>(std::max<qint64>(0, m_intervalMs - since)));
}

QRegion FramePacer::PendingRegion(const QWidget& widget) const {
  for (const Entry& e : m_pending)
    if (e.widget == &widget) return e.region;
  return QRegion();
}

void FramePacer::Flush() {
  m_timer.stop();
  std::vector<Entry> pending;
  pending.swap(m_pending);
  for (const Entry& e : pending) {
    if (e.widget) e.widget->update(e.region);
  }
  m_sinceFlush.start();
}

}  // namespace wattrix
