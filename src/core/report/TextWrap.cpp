#include "core/report/TextWrap.h"

#include "core/report/StandardFonts.h"

namespace wattrix {

namespace {

std::vector<std::string_view> Paragraphs(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    out.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  out.push_back(text.substr(start));
  return out;
}

// Byte lengths of the longest starts of `word` that fit `width`, at least
// one character so that the wrapping always moves on.
std::size_t FittingPrefix(std::string_view word, double width, const TextMeasure& measure) {
  std::size_t fit = 0;
  for (std::size_t pos = 0; pos < word.size();) {
    std::size_t next = pos;
    NextCodePoint(word, next);
    if (fit > 0 && measure(word.substr(0, next)) > width) break;
    fit = next;
    pos = next;
  }
  return fit;
}

void WrapParagraph(std::string_view paragraph, double width, const TextMeasure& measure,
                   std::vector<std::string>& lines) {
  std::string line;
  bool lineStarted = false;
  std::size_t pos = 0;
  while (pos <= paragraph.size()) {
    std::size_t end = paragraph.find(' ', pos);
    if (end == std::string_view::npos) end = paragraph.size();
    std::string_view word = paragraph.substr(pos, end - pos);
    pos = end + 1;
    if (!lineStarted) {
      line.assign(word);
      lineStarted = true;
    } else {
      const std::string candidate = line + " " + std::string(word);
      if (measure(candidate) <= width) {
        line = candidate;
      } else {
        lines.push_back(line);
        line.assign(word);
      }
    }
    // A word wider than a line is cut between characters.
    while (measure(line) > width && !line.empty()) {
      const std::size_t cut = FittingPrefix(line, width, measure);
      if (cut >= line.size()) break;
      lines.push_back(line.substr(0, cut));
      line.erase(0, cut);
    }
    if (end == paragraph.size()) break;
  }
  lines.push_back(line);
}

}  // namespace

std::vector<std::string> WrapText(std::string_view text, double width, const TextMeasure& measure) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  for (const std::string_view paragraph : Paragraphs(text)) WrapParagraph(paragraph, width, measure, lines);
  return lines;
}

std::string ElideText(std::string_view text, double width, const TextMeasure& measure,
                      std::string_view ellipsis) {
  if (measure(text) <= width) return std::string(text);
  std::size_t fit = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t next = pos;
    NextCodePoint(text, next);
    if (measure(std::string(text.substr(0, next)) + std::string(ellipsis)) > width) break;
    fit = next;
    pos = next;
  }
  return std::string(text.substr(0, fit)) + std::string(ellipsis);
}

}  // namespace wattrix
