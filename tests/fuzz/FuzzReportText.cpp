// Report texts come from the command line and the dialog as any bytes: the
// page lays them out and writes them into PDF strings without reading past
// the end, looping, or leaving a string unbalanced.
#include "core/report/PdfCanvas.h"
#include "core/report/PdfDocument.h"
#include "core/report/ReportPage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Fields are separated by NUL bytes; the first byte picks the page width.
  if (size == 0) return 0;
  const double width = 50 + data[0] * 20.0;
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  wattrix::ReportFields fields;
  std::string* targets[] = {&fields.title,   &fields.date,   &fields.engineer, &fields.site,
                            &fields.purpose, &fields.result, &fields.remark};
  std::size_t field = 0;
  for (const char c : bytes) {
    if (c == '\0') {
      if (++field == 7) break;
      continue;
    }
    targets[field]->push_back(c);
  }
  wattrix::PdfCanvas canvas(600, 28, 28, 842);
  wattrix::ReportPage page(canvas, wattrix::RectF{0, 0, width, width * 1.4});
  page.Draw(fields, nullptr);
  const std::string content = canvas.Content();
  // Every string written is closed again: escaped parentheses only.
  int depth = 0;
  for (std::size_t i = 0; i < content.size(); ++i) {
    if (content[i] == '\\' && depth > 0) {
      ++i;
    } else if (content[i] == '(') {
      ++depth;
    } else if (content[i] == ')') {
      --depth;
    }
    if (depth < 0 || depth > 1) std::abort();
  }
  if (depth != 0) std::abort();
  wattrix::PdfDocument pdf(595, 842);
  pdf.SetTitle(fields.title);
  pdf.AddPage(content);
  return pdf.Bytes().empty() ? 1 : 0;
}
