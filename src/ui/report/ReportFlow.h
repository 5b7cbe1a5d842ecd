#pragma once

#include "ui/history/SavePathDialog.h"

class QWidget;

namespace wattrix {

class HistoryDocument;

// The Report command of a history window: the report generator with the
// history's title proposed, then the print dialog printing on the chosen
// printer or writing the chosen PDF file (through a temporary file, so a
// failed or cancelled report leaves an existing file as it was).
// `choosePath` asks for the PDF file (the file dialog when empty).
void RunReportFlow(const HistoryDocument& document, QWidget* parent, const SavePathChooser& choosePath = {});

}  // namespace wattrix
