#pragma once

#include <QFont>
#include <deque>
#include <mutex>
#include <utility>

namespace wattrix {

// The bold "Arial" fonts of the read-out panels, keyed by point size and
// kept for the life of the process, so that painting never creates fonts.
// A size is made on first request with the pixel height points × vertical
// dpi / 72, rounded; when more than 20 are held, the oldest is dropped
// before a new one is added.
class FontCache final {
 public:
  static constexpr int kMaxFonts = 20;

  // The process-wide cache, at the primary screen's logical resolution.
  static FontCache& Instance();

  // `dpiY` 0 takes the primary screen's logical vertical resolution (96
  // when there is no screen) at the first request.
  explicit FontCache(int dpiY = 0) : m_dpiY(dpiY) {}

  // The font of `points` (QFont shares its data, so the copy is cheap).
  QFont Get(int points);
  int Count() const;
  bool Contains(int points) const;
  int DpiY() const;

 private:
  mutable std::mutex m_mutex;
  std::deque<std::pair<int, QFont>> m_fonts;  // oldest first
  int m_dpiY;
};

}  // namespace wattrix
