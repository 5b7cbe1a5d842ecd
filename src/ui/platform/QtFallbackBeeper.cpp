#include "ui/platform/QtFallbackBeeper.h"

#include <QApplication>
#include <QMetaObject>

namespace wattrix {

void QtFallbackBeeper::Beep(unsigned /*type*/) {
  // The window system's bell has a single sound; the type only chose the
  // theme event, which could not be played.
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  QMetaObject::invokeMethod(
      app, [] { QApplication::beep(); }, Qt::QueuedConnection);
}

}  // namespace wattrix
