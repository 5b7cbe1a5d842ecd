#include "ui/platform/UiThread.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMetaObject>

#include <memory>
#include <thread>

namespace wattrix {

void UiThread::RunAndWait(const std::function<void()>& work) {
  if (!QCoreApplication::instance()) {
    work();
    return;
  }
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  QEventLoop loop;
  std::thread worker([&work, &loop] {
    work();
    // Queued so that quit() never runs before exec() has started.
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  worker.join();
  QGuiApplication::restoreOverrideCursor();
}

}  // namespace wattrix
