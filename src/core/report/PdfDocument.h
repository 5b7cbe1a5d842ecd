#pragma once

#include <string>
#include <vector>

namespace wattrix {

// A PDF 1.4 file of pages whose content streams are given: the catalogue,
// the page tree, the standard sans-serif (regular, bold) and fixed-pitch
// fonts in the Windows Latin-1 encoding with their widths, the document
// information and the cross-reference table.
class PdfDocument final {
 public:
  // Resource names of the fonts in the content streams.
  static constexpr const char* kSansFont = "F1";
  static constexpr const char* kSansBoldFont = "F2";
  static constexpr const char* kMonoFont = "F3";

  // Page size in points (1/72 inch).
  PdfDocument(double widthPoints, double heightPoints);

  void AddPage(std::string content) { m_pages.push_back(std::move(content)); }
  // Title and producer of the document information (UTF-8).
  void SetTitle(std::string title) { m_title = std::move(title); }
  void SetProducer(std::string producer) { m_producer = std::move(producer); }

  // The whole file.
  std::string Bytes() const;
  // Writes the file through a temporary one, so a failure leaves any old
  // file as it was.
  bool Save(const std::string& path) const;

 private:
  double m_width;
  double m_height;
  std::vector<std::string> m_pages;
  std::string m_title;
  std::string m_producer;
};

// A PDF text string of UTF-8 text: UTF-16BE with its byte-order mark, in
// hexadecimal.
std::string PdfTextString(const std::string& utf8);
// A number in the shortest decimal form PDF readers take (no exponent).
std::string PdfNumber(double value);

}  // namespace wattrix
