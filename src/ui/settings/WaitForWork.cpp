#include "ui/settings/WaitForWork.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMetaObject>

#include <thread>

namespace wattrix {

void WaitForWork(const std::function<void()>& work) {
  if (!QCoreApplication::instance()) {
    work();
    return;
  }
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  QEventLoop loop;
  std::thread worker([&work, &loop] {
    work();
    // Queued, so the quit cannot come before the loop runs.
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  worker.join();
  QGuiApplication::restoreOverrideCursor();
}

}  // namespace wattrix
