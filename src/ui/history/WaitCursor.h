#pragma once

#include <QApplication>
#include <QCursor>

namespace wattrix {

// Shows the wait cursor over the whole application while it lives.
class WaitCursor final {
 public:
  WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace wattrix
