#pragma once

#include "core/report/ReportFields.h"
#include "ui/report/ReportPrinting.h"

#include <QDialog>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class QPrinter;
class QProgressBar;
class QPushButton;

namespace wattrix {

class HistoryDocument;
class RecordedPage;

// The "Print" dialog: lays the report page out on a worker thread while a
// progress bar shows, then prints it. The page goes to the printer from the
// user-interface thread, which owns the printer; the worker only prepares
// it, so no painter crosses threads. Without a printer the dialog closes
// at once as cancelled. Cancel stops the worker at its next step and
// waits for it; nothing reaches the printer then.
class CReportPrintDlg final : public QDialog {
  Q_OBJECT

 public:
  // Called by the worker between its steps (tests hold it there).
  using StepHook = std::function<void(const std::atomic<bool>& stopRequested)>;

  // `printer` (may be null) and `document` must outlive the dialog.
  CReportPrintDlg(QPrinter* printer, const HistoryDocument& document, ReportFields fields,
                  QWidget* parent = nullptr);
  ~CReportPrintDlg() override;

  void SetStepHook(StepHook hook) { m_stepHook = std::move(hook); }
  // False when the printer could not take the page.
  bool Printed() const { return m_printed; }
  QProgressBar* Progress() const { return m_progress; }

  int exec() override;
  void reject() override;

 private:
  void Start();
  // The worker: lays the page out step by step.
  void Work();
  void OnPageReady(std::shared_ptr<RecordedPage> page);
  void StopWorker();

  QPrinter* m_printer;
  const HistoryDocument& m_document;
  ReportFields m_fields;
  PrintGeometry m_geometry;  // set before the worker starts, then only read
  QProgressBar* m_progress;
  QPushButton* m_ok;
  StepHook m_stepHook;
  std::atomic<bool> m_stop{false};
  std::thread m_worker;
  bool m_printed = false;
};

}  // namespace wattrix
