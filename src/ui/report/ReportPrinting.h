#pragma once

#include "core/platform/Canvas.h"

#include <QString>

#include <memory>

class QPrinter;

namespace wattrix {

class RecordedPage;

// Where a report page goes: its printable area in device pixels (from the
// area's own corner) and the device's resolution.
struct PrintGeometry {
  RectF printable;
  int dpi = 600;
};

namespace report_printing {

// The system's default printer, or null when there is none. No dialog is
// shown.
std::unique_ptr<QPrinter> DefaultPrinter();
// A printer writing a PDF file: A4 with 10 mm margins at 600 pixels per
// inch, the page the command-line report writes too.
std::unique_ptr<QPrinter> PdfPrinter(const QString& path);
// The name the dialog's title shows: the printer's, or the PDF file's.
QString PrinterName(const QPrinter& printer);

PrintGeometry GeometryOf(const QPrinter& printer);

// Prints a recorded page as one document of one page; false when the
// printer could not be started.
bool PrintPage(const RecordedPage& page, QPrinter& printer);

}  // namespace report_printing
}  // namespace wattrix
