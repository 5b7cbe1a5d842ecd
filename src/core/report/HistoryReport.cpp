#include "core/report/HistoryReport.h"

#include "core/graph/GraphFeeder.h"
#include "core/history/HistoryDocument.h"
#include "core/platform/AtomicFile.h"
#include "core/report/PdfCanvas.h"
#include "core/report/PdfDocument.h"

namespace wattrix {

RectF ReportPageSetup::PrintablePixels() const {
  const double scale = dpi / 72.0;
  return RectF{0, 0, (widthPoints - 2 * marginPoints) * scale, (heightPoints - 2 * marginPoints) * scale};
}

bool DrawHistoryReport(Canvas& canvas, const RectF& printable, const ReportFields& fields,
                       const HistoryDocument& document, const ReportPage::KeepGoing& keepGoing) {
  GraphFeeder feeder;
  // A history without points still gets its labelled, empty graph.
  if (document.IsLoaded()) feeder.ShowDocument(document);
  ReportPage page(canvas, printable);
  return page.Draw(fields, document.IsLoaded() ? &feeder.Graph() : nullptr, keepGoing);
}

std::string ReportPdfBytes(const HistoryDocument& document, const ReportFields& fields,
                           const ReportPageSetup& setup) {
  PdfCanvas canvas(setup.dpi, setup.marginPoints, setup.marginPoints, setup.heightPoints);
  DrawHistoryReport(canvas, setup.PrintablePixels(), fields, document);
  PdfDocument pdf(setup.widthPoints, setup.heightPoints);
  pdf.SetTitle(fields.title.empty() ? report::kHeading : fields.title);
  pdf.SetProducer(std::string("Wattrix ") + WATTRIX_VERSION);
  pdf.AddPage(canvas.Content());
  return pdf.Bytes();
}

bool WriteReportPdf(const std::string& path, const HistoryDocument& document, const ReportFields& fields,
                    const ReportPageSetup& setup) {
  return WriteFileAtomically(path, ReportPdfBytes(document, fields, setup));
}

}  // namespace wattrix
