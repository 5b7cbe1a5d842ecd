#pragma once

#include "core/platform/Canvas.h"
#include "core/report/ReportFields.h"
#include "core/report/ReportPage.h"

#include <string>

namespace wattrix {

class HistoryDocument;

// Paper and printable area of a report written as PDF without a printer:
// A4 with 10 mm margins, drawn at 600 device pixels per inch (the
// resolution of a common printer, so the graph's pixel layout matches).
struct ReportPageSetup {
  double widthPoints = 595.276;
  double heightPoints = 841.89;
  double marginPoints = 28.3465;
  int dpi = 600;
  // The printable area in device pixels, from its own top-left corner.
  RectF PrintablePixels() const;
};

// The history window's one-page report of a history on any canvas: the
// graph shows the document's quantity as its window does (a document that
// is not loaded leaves the chart area empty). The engine drawn is the
// report's own, so a window may keep painting its graph meanwhile. False
// when keepGoing stopped it.
bool DrawHistoryReport(Canvas& canvas, const RectF& printable, const ReportFields& fields,
                       const HistoryDocument& document, const ReportPage::KeepGoing& keepGoing = {});

// The report as PDF bytes.
std::string ReportPdfBytes(const HistoryDocument& document, const ReportFields& fields,
                           const ReportPageSetup& setup = {});
// Writes it to path (through a temporary file); false when it cannot.
bool WriteReportPdf(const std::string& path, const HistoryDocument& document, const ReportFields& fields,
                    const ReportPageSetup& setup = {});

}  // namespace wattrix
