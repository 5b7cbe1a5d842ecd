#include "core/strings/CLocaleFormat.h"

#include <charconv>
#include <cmath>

namespace wattrix {

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
  if (decimals < 0) decimals = 0;
  if (decimals > 30) decimals = 30;
  return ToChars(value, std::chars_format::fixed, decimals);
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
