#pragma once

#include <array>
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace wattrix {

// The seven texts of a measurement report (UTF-8).
struct ReportFields {
  std::string title;
  std::string date;
  std::string engineer;
  std::string site;
  std::string purpose;  // several lines
  std::string result;   // several lines
  std::string remark;   // several lines
  friend bool operator==(const ReportFields&, const ReportFields&) = default;
};

namespace report {

// One field: its member, the input limit in characters and its label on
// the printed page.
struct FieldInfo {
  std::string ReportFields::*member;
  std::size_t limit;
  const char* printLabel;
  const char* optionName;  // wattrix-cli psh report option
};

inline constexpr std::array<FieldInfo, 7> kFields{{
    {&ReportFields::title, 60, "Title", "--title"},
    {&ReportFields::date, 50, "Date", "--date"},
    {&ReportFields::engineer, 30, "Engineer", "--engineer"},
    {&ReportFields::site, 60, "Site Information", "--site"},
    {&ReportFields::purpose, 200, "Test Purpose", "--purpose"},
    {&ReportFields::result, 700, "Result", "--result"},
    {&ReportFields::remark, 200, "Remark", "--remark"},
}};

inline constexpr const char* kHeading = "Measurement Report";
inline constexpr const char* kDataLabel = "Measurement Data";
inline constexpr const char* kDocumentName = "Wattrix Report Printing";

// Length as the input fields count it: UTF-16 code units, so that a
// character outside the basic plane counts twice.
std::size_t InputLength(std::string_view utf8);

// The first field longer than its limit, or null when all fit.
const FieldInfo* FirstTooLong(const ReportFields& fields);

// The date preset: " %Y,%m,%d %p %#I:%M" (leading blank, AM/PM, hour 1-12
// without a leading zero), independent of the locale.
std::string FormatReportDate(const std::tm& local);
// The preset for the current local time.
std::string CurrentReportDate();

}  // namespace report

}  // namespace wattrix
