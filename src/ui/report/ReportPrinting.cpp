#include "ui/report/ReportPrinting.h"

#include "core/report/RecordedPage.h"
#include "core/report/ReportFields.h"
#include "ui/platform/QtCanvas.h"

#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace wattrix::report_printing {

std::unique_ptr<QPrinter> DefaultPrinter() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull() || info.printerName().isEmpty()) return nullptr;
  return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

std::unique_ptr<QPrinter> PdfPrinter(const QString& path) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setResolution(600);
  printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
  printer->setOutputFileName(path);
  return printer;
}

QString PrinterName(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
    return QFileInfo(printer.outputFileName()).fileName();
  return printer.printerName();
}

PrintGeometry GeometryOf(const QPrinter& printer) {
  const int dpi = printer.resolution();
  const QRect area = printer.pageLayout().paintRectPixels(dpi);
  return PrintGeometry{RectF{0, 0, static_cast<double>(area.width()), static_cast<double>(area.height())},
                       dpi};
}

bool PrintPage(const RecordedPage& page, QPrinter& printer) {
  printer.setDocName(QString::fromUtf8(report::kDocumentName));
  printer.setFullPage(false);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  QtCanvas canvas(painter, printer.resolution());
  page.Replay(canvas);
  return painter.end();
}

}  // namespace wattrix::report_printing
