#include "core/report/PdfDocument.h"

#include "core/platform/AtomicFile.h"
#include "core/report/StandardFonts.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace wattrix {

namespace {

std::string FontObject(const char* baseFont, StandardFace face) {
  std::string widths;
  for (int code = 32; code <= 255; ++code) {
    widths += std::to_string(WinAnsiWidth(face, static_cast<std::uint8_t>(code)));
    widths += (code - 31) % 16 == 0 ? "\n" : " ";
  }
  return std::string("<< /Type /Font /Subtype /Type1 /BaseFont /") + baseFont +
         " /Encoding /WinAnsiEncoding /FirstChar 32 /LastChar 255\n/Widths [" + widths + "] >>";
}

std::string PdfDate() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[64];
  std::snprintf(text, sizeof text, "(D:%04d%02d%02d%02d%02d%02dZ)", utc.tm_year + 1900, utc.tm_mon + 1,
                utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
  return text;
}

}  // namespace

std::string PdfNumber(double value) {
  if (!std::isfinite(value)) return "0";
  char text[48];
  std::snprintf(text, sizeof text, "%.3f", value);
  std::string s = text;
  // Trailing zeros and a bare point say nothing.
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0" || s.empty()) s = "0";
  return s;
}

std::string PdfTextString(const std::string& utf8) {
  std::string hex = "<FEFF";
  char unit[8];
  const auto add = [&](unsigned value) {
    std::snprintf(unit, sizeof unit, "%04X", value);
    hex += unit;
  };
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, pos);
    if (c >= 0x10000) {
      add(0xD800 + ((c - 0x10000) >> 10));
      add(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      add(static_cast<unsigned>(c));
    }
  }
  return hex + ">";
}

PdfDocument::PdfDocument(double widthPoints, double heightPoints)
    : m_width(widthPoints), m_height(heightPoints) {}

std::string PdfDocument::Bytes() const {
  // Objects: 1 catalogue, 2 page tree, 3-5 fonts, 6 information, then a
  // page and its content stream for each page.
  std::vector<std::string> objects;
  const std::size_t firstPage = 7;
  std::string kids;
  for (std::size_t i = 0; i < m_pages.size(); ++i) kids += std::to_string(firstPage + 2 * i) + " 0 R ";
  objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
  objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(m_pages.size()) + " >>");
  objects.push_back(FontObject("Helvetica", StandardFace::Sans));
  objects.push_back(FontObject("Helvetica-Bold", StandardFace::SansBold));
  objects.push_back(FontObject("Courier", StandardFace::Mono));
  std::string info = "<< /CreationDate " + PdfDate();
  if (!m_title.empty()) info += " /Title " + PdfTextString(m_title);
  if (!m_producer.empty()) info += " /Producer " + PdfTextString(m_producer);
  objects.push_back(info + " >>");
  const std::string resources = "<< /Font << /F1 3 0 R /F2 4 0 R /F3 5 0 R >> >>";
  for (std::size_t i = 0; i < m_pages.size(); ++i) {
    const std::size_t content = firstPage + 2 * i + 1;
    objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + PdfNumber(m_width) + " " +
                      PdfNumber(m_height) + "] /Resources " + resources + " /Contents " +
                      std::to_string(content) + " 0 R >>");
    objects.push_back("<< /Length " + std::to_string(m_pages[i].size()) + " >>\nstream\n" + m_pages[i] +
                      "\nendstream");
  }

  std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(out.size());
    out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const std::size_t xref = out.size();
  out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  char entry[24];
  for (const std::size_t offset : offsets) {
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
    out += entry;
  }
  out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
         " /Root 1 0 R /Info 6 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return out;
}

bool PdfDocument::Save(const std::string& path) const { return WriteFileAtomically(path, Bytes()); }

}  // namespace wattrix
