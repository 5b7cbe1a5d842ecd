#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wattrix {

// Number texts that files and scripts rely on always use the C locale's
// point, whatever locale the desktop application runs under.
// FormatFixed(v, 2) is printf("%.2f", v); FormatGeneral(v, 4) is "%.4g".
std::string FormatFixed(double value, int decimals);
std::string FormatGeneral(double value, int precision);
// "%.2f" of value / 100 for a value stored in hundredths, exact for any i32.
std::string FormatHundredths(long long value);
// Appends FormatHundredths(value) to out without a temporary string.
void AppendHundredths(std::string& out, long long value);

// A decimal number after optional leading and trailing blanks, in the C
// locale; nullopt when the text is not a number.
std::optional<double> ParseDecimal(std::string_view text);

}  // namespace wattrix
