#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wattrix {

// Number texts that never depend on the process locale: the desktop
// application runs with the user's LC_NUMERIC, which would otherwise turn
// the decimal point of files, read-outs and command-line output into a
// comma.

// printf-style formatting in the C locale.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Decimal text to number in the C locale, as strtod reads it (leading
// blanks, optional sign, fraction, exponent). Text that does not start with
// a finite number gives 0.
double ParseDouble(std::string_view text);
// The same for single precision; a value beyond the float range also gives
// 0, so that a hand-edited file can never carry an infinite setting.
float ParseFloat(std::string_view text);

// Fast fixed and general formats without any locale (std::to_chars).
// FormatFixed(v, 2) is printf("%.2f", v); FormatGeneral(v, 4) is "%.4g".
std::string FormatFixed(double value, int decimals);
// Appends FormatFixed(value, decimals) to out.
void AppendFixed(std::string& out, double value, int decimals);
std::string FormatGeneral(double value, int precision);
// "%.2f" of value / 100 for a value stored in hundredths, exact for any i32.
std::string FormatHundredths(long long value);
// Appends FormatHundredths(value) to out without a temporary string.
void AppendHundredths(std::string& out, long long value);

// A decimal number after optional leading and trailing blanks, in the C
// locale; nullopt when the text is not a number.
std::optional<double> ParseDecimal(std::string_view text);

}  // namespace wattrix
