#include "ui/report/ReportFlow.h"

#include "core/history/HistoryDocument.h"
#include "ui/report/CReportGenDlg.h"
#include "ui/report/CReportPrintDlg.h"
#include "ui/report/ReportPrinting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryFile>

#include <cstdio>

namespace wattrix {

namespace {

// Prints into a temporary file beside `path` and moves it into place.
void WritePdf(const HistoryDocument& document, const ReportFields& fields, const QString& path,
              QWidget* parent) {
  const QFileInfo target(path);
  QTemporaryFile temp(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
  temp.setAutoRemove(true);
  QString tempPath;
  if (temp.open()) {
    tempPath = temp.fileName();
    temp.close();
  }
  // A folder that takes no file lets the print dialog report the failure.
  auto printer = report_printing::PdfPrinter(tempPath.isEmpty() ? path : tempPath);
  CReportPrintDlg print(printer.get(), document, fields, parent);
  if (print.exec() != QDialog::Accepted || tempPath.isEmpty()) return;
  if (std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(path).constData()) == 0) {
    temp.setAutoRemove(false);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                    QFileDevice::ReadOther);
  }
}

}  // namespace

void RunReportFlow(const HistoryDocument& document, QWidget* parent, const SavePathChooser& choosePath) {
  CReportGenDlg generator(QString::fromStdString(document.ReportTitle()), document, parent);
  if (choosePath) generator.SetSavePathChooser(choosePath);
  if (generator.exec() != QDialog::Accepted) return;
  if (generator.Chosen() == CReportGenDlg::Output::Pdf) {
    WritePdf(document, generator.Fields(), generator.PdfPath(), parent);
    return;
  }
  const std::unique_ptr<QPrinter> printer = generator.TakePrinter();
  CReportPrintDlg print(printer.get(), document, generator.Fields(), parent);
  print.exec();
}

}  // namespace wattrix
