#include "ui/settings/TransferProgress.h"

#include "core/device/LogTransfer.h"
#include "ui/settings/SettingsFields.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <thread>

namespace wattrix {

namespace {

constexpr const char* kSection = "IDD_DOWNLOADER";
constexpr int kPollMs = 100;
// A short transfer (USB) ends before the box would flash up.
constexpr int kShowAfterMs = 400;

}  // namespace

void TransferProgress::Run(QWidget* owner, LogTransferControl& control, const std::function<void()>& work) {
  if (!QCoreApplication::instance()) {
    work();
    return;
  }
  using settings_fields::DialogText;
  QProgressDialog progress(owner);
  progress.setObjectName(QStringLiteral("transferProgress"));
  progress.setWindowTitle(DialogText(kSection, "CAPTION"));
  progress.setLabelText(DialogText(kSection, "IDC_DN_PROGRESS"));
  auto* bar = new QProgressBar(&progress);
  bar->setFormat(DialogText(kSection, "IDC_DN_PROGRESS_BYTES"));
  progress.setBar(bar);
  auto* cancel = new QPushButton(DialogText(kSection, "IDCANCEL"), &progress);
  cancel->setObjectName(QStringLiteral("cancelButton"));
  progress.setCancelButton(cancel);
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setAutoReset(false);
  progress.setAutoClose(false);
  progress.setMinimumDuration(kShowAfterMs);
  progress.setRange(0, 0);
  progress.setValue(0);

  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(kPollMs);
  QObject::connect(&poll, &QTimer::timeout, &progress, [&progress, &control] {
    // A cancel that came just before a wait began did not end it: repeat.
    if (progress.wasCanceled()) control.Cancel();
    const auto total = control.Total();
    if (total == 0) return;
    const int maximum = static_cast<int>(std::min<std::size_t>(total, INT_MAX));
    if (progress.maximum() != maximum) progress.setRange(0, maximum);
    progress.setValue(static_cast<int>(std::min<std::size_t>(control.Received(), INT_MAX)));
  });
  QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&control] { control.Cancel(); });
  poll.start();

  std::thread worker([&work, &loop] {
    work();
    // Queued so that quit() never runs before exec() has started.
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  // User input stays on: the Cancel button must work. The box is modal, so
  // no other window takes commands meanwhile.
  loop.exec();
  worker.join();
  poll.stop();
  QGuiApplication::restoreOverrideCursor();
}

}  // namespace wattrix
