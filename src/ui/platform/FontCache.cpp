#include "ui/platform/FontCache.h"

#include "core/platform/Canvas.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace wattrix {

namespace {

int ScreenDpiY() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen ? screen->logicalDotsPerInchY() : 0.0;
  return dpi > 0 ? static_cast<int>(std::lround(dpi)) : 96;
}

}  // namespace

FontCache& FontCache::Instance() {
  static FontCache cache;
  return cache;
}

QFont FontCache::Get(int points) {
  std::lock_guard lock(m_mutex);
  for (const auto& [size, font] : m_fonts) {
    if (size == points) return font;
  }
  if (m_dpiY <= 0) m_dpiY = ScreenDpiY();
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(std::max(1, PointsToPixels(points, m_dpiY)));
  font.setWeight(QFont::Bold);
  if (static_cast<int>(m_fonts.size()) > kMaxFonts) m_fonts.pop_front();
  m_fonts.emplace_back(points, font);
  return font;
}

int FontCache::Count() const {
  std::lock_guard lock(m_mutex);
  return static_cast<int>(m_fonts.size());
}

bool FontCache::Contains(int points) const {
  std::lock_guard lock(m_mutex);
  return std::any_of(m_fonts.begin(), m_fonts.end(),
                     [points](const auto& entry) { return entry.first == points; });
}

int FontCache::DpiY() const {
  std::lock_guard lock(m_mutex);
  return m_dpiY;
}

}  // namespace wattrix
