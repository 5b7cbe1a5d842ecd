#include "core/report/ReportFields.h"

#include "core/report/StandardFonts.h"

#include <cstdio>

namespace wattrix::report {

std::size_t InputLength(std::string_view utf8) {
  std::size_t units = 0;
  for (std::size_t pos = 0; pos < utf8.size();) units += NextCodePoint(utf8, pos) >= 0x10000 ? 2 : 1;
  return units;
}

const FieldInfo* FirstTooLong(const ReportFields& fields) {
  for (const FieldInfo& field : kFields) {
    if (InputLength(fields.*field.member) > field.limit) return &field;
  }
  return nullptr;
}

std::string FormatReportDate(const std::tm& local) {
  const int hour12 = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
  char text[64];
  std::snprintf(text, sizeof text, " %04d,%02d,%02d %s %d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour < 12 ? "AM" : "PM", hour12, local.tm_min);
  return text;
}

std::string CurrentReportDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return FormatReportDate(local);
}

}  // namespace wattrix::report
