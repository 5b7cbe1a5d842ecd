#include "ui/report/CReportPrintDlg.h"

#include "core/platform/MessageBoxes.h"
#include "core/report/HistoryReport.h"
#include "core/report/RecordedPage.h"
#include "core/strings/StringTable.h"
#include "ui/report/ReportPrinting.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace wattrix {

namespace {

constexpr const char* kSection = "IDD_PRINT";

QString Text(const char* key) { return QString::fromStdString(strings::GetText(kSection, key)); }

}  // namespace

CReportPrintDlg::CReportPrintDlg(QPrinter* printer, const HistoryDocument& document, ReportFields fields,
                                 QWidget* parent)
    : QDialog(parent),
      m_printer(printer),
      m_document(document),
      m_fields(std::move(fields)),
      m_progress(new QProgressBar(this)) {
  setWindowTitle(Text("CAPTION"));
  auto* buttons = new QDialogButtonBox(this);
  m_ok = buttons->addButton(Text("IDOK"), QDialogButtonBox::AcceptRole);
  m_ok->setEnabled(false);
  QPushButton* cancel = buttons->addButton(Text("IDCANCEL"), QDialogButtonBox::RejectRole);
  cancel->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &CReportPrintDlg::reject);
  m_progress->setRange(0, 1);
  m_progress->setValue(0);
  m_progress->setTextVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(Text("IDC_TEXT"), this));
  layout->addWidget(m_progress);
  layout->addWidget(buttons);
}

CReportPrintDlg::~CReportPrintDlg() { StopWorker(); }

int CReportPrintDlg::exec() {
  Start();
  return QDialog::exec();
}

void CReportPrintDlg::Start() {
  if (m_worker.joinable()) return;
  m_stop = false;
  m_printed = false;
  // The printer is asked on this thread; the worker gets plain numbers.
  const bool havePrinter = m_printer != nullptr;
  m_geometry = havePrinter ? report_printing::GeometryOf(*m_printer) : PrintGeometry{};
  m_worker = std::thread([this, havePrinter] {
    if (!havePrinter) {
      QMetaObject::invokeMethod(
          this, [this] { reject(); }, Qt::QueuedConnection);
      return;
    }
    Work();
  });
}

void CReportPrintDlg::Work() {
  auto page = std::make_unique<RecordedPage>(m_geometry.dpi);
  const auto keepGoing = [this] {
    if (m_stepHook) m_stepHook(m_stop);
    return !m_stop.load();
  };
  if (!keepGoing()) return;
  QMetaObject::invokeMethod(
      m_progress, [bar = m_progress] { bar->setValue(1); }, Qt::QueuedConnection);
  if (!DrawHistoryReport(*page, m_geometry.printable, m_fields, m_document, keepGoing)) return;
  std::shared_ptr<RecordedPage> ready(std::move(page));
  QMetaObject::invokeMethod(
      this, [this, ready] { OnPageReady(ready); }, Qt::QueuedConnection);
}

void CReportPrintDlg::OnPageReady(std::shared_ptr<RecordedPage> page) {
  if (m_worker.joinable()) m_worker.join();
  if (m_stop || !m_printer) return;
  m_printed = report_printing::PrintPage(*page, *m_printer);
  if (m_printed) {
    accept();
    return;
  }
  const bool pdf = m_printer->outputFormat() == QPrinter::PdfFormat;
  strings::MessageBoxKey(static_cast<QWidget*>(this), pdf ? "S_REPORT_PDFFAILED" : "S_REPORT_PRINTFAILED",
                         mb::kIconError | mb::kOk);
  QDialog::reject();
}

void CReportPrintDlg::StopWorker() {
  m_stop = true;
  if (m_worker.joinable()) m_worker.join();
}

void CReportPrintDlg::reject() {
  StopWorker();
  QDialog::reject();
}

}  // namespace wattrix
