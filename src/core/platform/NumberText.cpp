#include "core/platform/NumberText.h"

#include <locale.h>
#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace wattrix {

namespace {

locale_t CLocale() {
  static const locale_t locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

// Switches the calling thread to the C locale for the life of the object;
// uselocale is a per-thread pointer swap, so this costs next to nothing.
class ScopedCLocale final {
 public:
  ScopedCLocale() : m_previous(::uselocale(CLocale())) {}
  ~ScopedCLocale() { ::uselocale(m_previous); }
  ScopedCLocale(const ScopedCLocale&) = delete;
  ScopedCLocale& operator=(const ScopedCLocale&) = delete;

 private:
  locale_t m_previous;
};

}  // namespace

std::string FormatC(const char* format, ...) {
  ScopedCLocale scope;
  char buffer[128];
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  std::string text;
  if (n < 0) {
    va_end(again);
    return text;
  }
  if (static_cast<std::size_t>(n) < sizeof buffer) {
    text.assign(buffer, static_cast<std::size_t>(n));
  } else {
    text.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    text.resize(static_cast<std::size_t>(n));
  }
  va_end(again);
  return text;
}

double ParseDouble(std::string_view text) {
  // strtod needs a terminated string; values are short.
  char small[64];
  std::string large;
  const char* begin = small;
  if (text.size() < sizeof small) {
    text.copy(small, text.size());
    small[text.size()] = '\0';
  } else {
    large.assign(text);
    begin = large.c_str();
  }
  char* end = nullptr;
  const double value = ::strtod_l(begin, &end, CLocale());
  if (end == begin || !std::isfinite(value)) return 0.0;
  return value;
}

float ParseFloat(std::string_view text) {
  const double value = ParseDouble(text);
  if (std::fabs(value) > static_cast<double>(FLT_MAX)) return 0.0f;
  return static_cast<float>(value);
}

// ---- to_chars based formats

namespace {

std::string ToChars(double value, std::chars_format format, int precision) {
  char buffer[400];  // "%.Nf" of the largest double needs 309 digits before the point
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  if (result.ec != std::errc{}) return "nan";
  return std::string(buffer, result.ptr);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

std::string FormatFixed(double value, int decimals) {
  std::string out;
  AppendFixed(out, value, decimals);
  return out;
}

void AppendFixed(std::string& out, double value, int decimals) {
  out += ToChars(value, std::chars_format::fixed, std::clamp(decimals, 0, 30));
}

std::string FormatGeneral(double value, int precision) {
  return ToChars(value, std::chars_format::general, precision < 1 ? 1 : precision);
}

void AppendHundredths(std::string& out, long long value) {
  // Two decimals of an integer count of hundredths, built from the last
  // digit backwards so that a large record is fast and exact.
  unsigned long long magnitude =
      value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  char buffer[32];
  char* p = buffer + sizeof buffer;
  *--p = static_cast<char>('0' + magnitude % 10);
  magnitude /= 10;
  *--p = static_cast<char>('0' + magnitude % 10);
  magnitude /= 10;
  *--p = '.';
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--p = '-';
  out.append(p, static_cast<std::size_t>(buffer + sizeof buffer - p));
}

std::string FormatHundredths(long long value) {
  std::string out;
  AppendHundredths(out, value);
  return out;
}

std::optional<double> ParseDecimal(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc{} || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace wattrix
