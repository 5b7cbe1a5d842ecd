#include "core/platform/NumberText.h"

#include <locale.h>
#include <cfloat>
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

}  // namespace wattrix
